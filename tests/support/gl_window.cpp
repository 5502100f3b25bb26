#include "tests/support/gl_window.h"

#include "app/glut_window.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <unistd.h>

namespace testsupport {

void openGlWindow() {
    static bool open = false;
    if (open) return;
    open = true;
    int argc = 1;
    char name[] = "glimmer-test";
    char* argv[] = {name, nullptr};
    openGlutWindow(&argc, argv, "Glimmerboard test", 700, 700);
    glutDisplayFunc([] {});
    glewInit();
}

bool resizeGlWindow(int width, int height) {
    glutReshapeWindow(width, height);
    for (int round = 0; round < 400; ++round) {
        glutMainLoopEvent();
        if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height)
            return true;
        usleep(5000);
    }
    return false;
}

Rgb readPixel(int x, int y) {
    unsigned char rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

}  // namespace testsupport
