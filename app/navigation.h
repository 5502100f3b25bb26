// Turning the camera in place with the arrow keys and a left-button drag. The GLUT
// callbacks themselves are declared in app/callbacks.h.
#pragma once

// Turn units (1/500 radian) of one arrow-key press.
constexpr float kArrowKeyTurn = 3.0f;
