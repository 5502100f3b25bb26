#include <GL/freeglut.h>

#include "app/callbacks.h"

void specialKeys(int, int, int) {}
void mouseButton(int, int, int, int) {
    glutPostRedisplay();
}
void mouseMotion(int, int) {}
