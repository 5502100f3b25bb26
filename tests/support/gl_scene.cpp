#include "tests/support/gl_scene.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <vector>

namespace testsupport {

GLuint makeTexture(int width, int height, const std::function<Rgb(int x, int y)>& colourAt) {
    std::vector<unsigned char> pixels;
    pixels.reserve(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colourAt(x, y);
            pixels.insert(pixels.end(), {c.r, c.g, c.b});
        }
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    return texture;
}

GLuint makeFlatTexture(Rgb colour, int width, int height) {
    return makeTexture(width, height, [colour](int, int) { return colour; });
}

Rgb Frame::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {0, 0, 0};
    const size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Frame readShownFrame() {
    Frame frame;
    frame.width = glutGet(GLUT_WINDOW_WIDTH);
    frame.height = glutGet(GLUT_WINDOW_HEIGHT);
    frame.rgb.resize(size_t(frame.width) * size_t(frame.height) * 3);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Mesa's swap copies the back buffer to the window, so it still holds the frame shown.
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    return frame;
}

WindowPoint projectToWindow(double x, double y, double z) {
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx = 0, wy = 0, wz = 0;
    gluProject(x, y, z, modelview, projection, viewport, &wx, &wy, &wz);
    return {int(std::floor(wx)), int(std::floor(wy))};
}

}  // namespace testsupport
