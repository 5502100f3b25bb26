// Plays the user's picture chosen now on the billboard: its source is told when it is shown
// and when not, and a GLUT timer asks it for a new frame when one is due, only while such a
// picture is the one chosen, so a still picture costs no redraws.
#pragma once

// Starts, restarts or stops the frame timer to suit the picture chosen now. Called after start-up
// and after every key; does nothing while the same picture stays chosen.
void followChosenPicture();

// Sets the frame timer again after the chosen picture's own timeline changed (paused or
// resumed), from the time its source gives now.
void restartFrameTimer();

// Uploads the chosen user picture's frame due now when it changed; the display calls this
// before it draws. Does nothing for the built-in pictures.
void refreshChosenPicture();
