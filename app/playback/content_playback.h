// Plays the content chosen now on the billboard: its source is told when it is shown and when
// not, and a GLUT timer asks it for a new frame when one is due, only while moving content is
// the one chosen, so a still picture costs no redraws. A frame no timer could
// foresee (a feed's, a late one of a video's) wakes the display itself.
#pragma once

// From now on the sources wake the display when a frame comes that it waits for, instead of
// being polled. Main thread, after start-up, before the GLUT loop; does nothing when no
// content moves or when the system offers no way to wake the loop.
void wakeOnNewFrames();

// Starts, restarts or stops the frame timer to suit the picture chosen now (none, for a
// picture number outside the catalogue). Called after start-up
// and after every key; does nothing while the same picture stays chosen.
void followChosenPicture();

// Sets the frame timer again after the chosen picture's own timeline changed (paused or
// resumed), from the time its source gives now.
void restartFrameTimer();

// Uploads the chosen content's frame due now when it changed, and sets the frame timer when
// none is set; the display calls this before it draws. Nothing changes for a still picture.
void refreshChosenPicture();
