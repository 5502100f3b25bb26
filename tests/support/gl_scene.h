// Helpers for tests that draw a frame through the real display path: picture textures built
// the way the program builds them, window positions of scene points, and whether a redraw
// was requested.
#pragma once

#include <GL/glew.h>

#include <functional>
#include <vector>

#include "tests/support/gl_window.h"

namespace testsupport {

// A mipmapped RGB texture of width by height whose pixel (x, y), row 0 at the bottom, is
// colourAt(x, y); minification GL_LINEAR_MIPMAP_NEAREST, as the picture catalogue makes them.
GLuint makeTexture(int width, int height, const std::function<Rgb(int x, int y)>& colourAt);

// A texture of one colour.
GLuint makeFlatTexture(Rgb colour, int width = 16, int height = 16);

// Flat colours far apart from each other and from the dark face, so a read-back pixel names
// the texture it came from.
namespace colours {
inline constexpr Rgb kRed = {220, 30, 30};
inline constexpr Rgb kGreen = {30, 200, 40};
inline constexpr Rgb kBlue = {30, 40, 210};
inline constexpr Rgb kYellow = {230, 220, 20};
inline constexpr Rgb kMagenta = {200, 20, 200};
inline constexpr Rgb kGrey = {128, 128, 128};
}  // namespace colours

// The whole window as shown after a buffer swap (read from the front buffer), row 0 at the
// bottom.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    Rgb at(int x, int y) const;
};
Frame readShownFrame();

struct WindowPoint {
    int x;
    int y;
};

// Window pixel of the scene point (x, y, z) under the current modelview and projection
// matrices and viewport.
WindowPoint projectToWindow(double x, double y, double z);

}  // namespace testsupport
