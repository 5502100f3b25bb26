#include <GL/freeglut.h>

#include "app/callbacks.h"

void keyboard(unsigned char, int, int) {
    glutPostRedisplay();
}
