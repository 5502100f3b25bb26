// Types keys into the window of a program that this test process started, as X key events,
// reads its pixels, and resizes or closes that window, so a process test can drive the real program
// the way a user at the keyboard and a window manager do.
#pragma once

#include <string>

namespace testsupport {

// Sends a press and a release for each character of keys (printable ASCII, shifted where the
// keyboard map needs it) to the top-level window owned by a child of this process. Returns
// false when no display or no such window is found, or a character has no key.
bool typeIntoChildWindow(const std::string& keys);

// Asks the server to give that window the size width by height, as a window manager would.
bool resizeChildWindow(int width, int height);

// Asks that window to close, as a window manager's close button does.
bool closeChildWindow();

// The colour of the pixel (x, y) of that window, from the top left; false while it has no
// window that shows anything.
bool readChildWindowPixel(int x, int y, unsigned char rgb[3]);

}  // namespace testsupport
