// Frames drawn by the real display callback and read back from the window, for the headless
// review and the screenshot tool.
#pragma once

#include <cstdint>
#include <vector>

struct CapturedFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // tightly packed R G B rows, bottom row first
};

// Lets the X server map a freshly created window, so that the first frame drawn is shown.
void waitForWindowMapping();

// The frame last drawn and swapped, at the window's size.
CapturedFrame readShownFrame();

// Draws one frame through display(), waits until GL has finished it and reads it back.
CapturedFrame drawAndCaptureFrame();

// Writes the frame as a PNG file that replaces path whole or not at all. Returns 0, or the
// errno value of the failure (EIO when the picture could not be encoded).
int writeFramePng(const CapturedFrame& frame, const char* path);
