// The arrow-key and mouse callbacks: an arrow key turns the camera by kArrowKeyTurn units, a
// left-button drag by one unit a pixel; any button press or release asks for a redraw.
#include "app/navigation.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/callbacks.h"
#include "app/core/run_state.h"

void specialKeys(int key, int, int) {
    switch (key) {
        case GLUT_KEY_LEFT:
            camera.turnHorizontal(kArrowKeyTurn);
            break;
        case GLUT_KEY_RIGHT:
            camera.turnHorizontal(-kArrowKeyTurn);
            break;
        case GLUT_KEY_UP:
            camera.turnVertical(kArrowKeyTurn);
            break;
        case GLUT_KEY_DOWN:
            camera.turnVertical(-kArrowKeyTurn);
            break;
        default:
            return;  // function keys, page keys and the rest do nothing
    }
    glutPostRedisplay();
}

void mouseButton(int button, int state, int x, int y) {
    if (button == GLUT_LEFT_BUTTON) {
        if (state == GLUT_DOWN) {
            dragState.lastX = x;
            dragState.lastY = y;
            dragState.dragging = true;
        } else {
            dragState.dragging = false;
        }
    }
    glutPostRedisplay();
}

void mouseMotion(int x, int y) {
    if (!dragState.dragging) return;
    const int dx = x - dragState.lastX;
    const int dy = y - dragState.lastY;
    // One pixel of drag is one turn unit; right and down turn right and down. The horizontal
    // part goes first.
    if (dx != 0) camera.turnHorizontal(float(-dx));
    if (dy != 0) camera.turnVertical(float(-dy));
    dragState.lastX = x;
    dragState.lastY = y;
    glutPostRedisplay();
}
