// Plays an animated picture of the user's on the billboard: a GLUT timer shows the next frame
// after the current one's delay, only while such a picture is the one chosen, so a still
// picture costs no redraws.
#pragma once

// Starts, restarts or stops the frame timer to suit the picture chosen now. Called after start-up
// and after every key; does nothing while the same picture stays chosen.
void followChosenPicture();
