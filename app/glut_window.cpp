// openGlutWindow: glutInit with the command line, the display mode, the window's place and
// size, then the window itself, in that order.
#include "app/glut_window.h"

#include <GL/freeglut.h>

namespace {

constexpr int kWindowX = 100;
constexpr int kWindowY = 100;

}  // namespace

void openGlutWindow(int* argc, char** argv, const char* title, int width, int height) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(kWindowX, kWindowY);
    glutInitWindowSize(width, height);
    glutCreateWindow(title);
}
