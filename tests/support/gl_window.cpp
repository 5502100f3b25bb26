#include "tests/support/gl_window.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

namespace testsupport {

void openGlWindow() {
    static bool open = false;
    if (open) return;
    open = true;
    int argc = 1;
    char name[] = "glimmer-test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(700, 700);
    glutCreateWindow("Glimmerboard test");
    glewInit();
}

Rgb readPixel(int x, int y) {
    unsigned char rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

}  // namespace testsupport
