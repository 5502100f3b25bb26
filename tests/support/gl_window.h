// One hidden-from-nobody GLUT window per test process, opened like the program's own
// (double-buffered RGBA with depth, 700 by 700), so GL tests run against a real context.
#pragma once

namespace testsupport {

// Opens the window and initialises GLEW on first call; later calls do nothing. A no-op display
// callback is registered so GLUT can handle window events; tests may register their own.
void openGlWindow();

// Asks GLUT for a new window size and handles window events until it is in force.
bool resizeGlWindow(int width, int height);

// Reads one RGB pixel of the back buffer at window coordinates (x, y), y from the bottom.
struct Rgb {
    unsigned char r, g, b;
};
Rgb readPixel(int x, int y);

}  // namespace testsupport
