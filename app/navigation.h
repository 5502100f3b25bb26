// Turning the camera in place with the arrow keys and a left-button drag. The GLUT
// callbacks themselves are declared in app/callbacks.h.
#pragma once

// Pointer position at the previous drag event (window pixels, y growing downwards) and
// whether the left button went down in the window and has not come up yet.
struct DragState {
    int lastX = 0;
    int lastY = 0;
    bool dragging = false;
};

extern DragState dragState;

// Turn units (1/500 radian) of one arrow-key press.
constexpr float kArrowKeyTurn = 3.0f;
