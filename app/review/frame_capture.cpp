// Reading frames back and writing them as PNG files through the one replacing file writer.
#include "app/review/frame_capture.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cerrno>

#include "app/callbacks.h"
#include "files/replacement_file.h"
#include "pictures/picture_encoders.h"

namespace {

// Rounds of window events that let the X server map the window before the first frame.
constexpr int kMappingRounds = 20;

}  // namespace

void waitForWindowMapping() {
    for (int round = 0; round < kMappingRounds; ++round) glutMainLoopEvent();
}

CapturedFrame readShownFrame() {
    CapturedFrame frame;
    frame.width = glutGet(GLUT_WINDOW_WIDTH);
    frame.height = glutGet(GLUT_WINDOW_HEIGHT);
    frame.rgb.resize(std::size_t(frame.width) * std::size_t(frame.height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Mesa's swap copies the back buffer to the window, so it still holds the frame shown.
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    return frame;
}

CapturedFrame drawAndCaptureFrame() {
    display();
    glFinish();
    return readShownFrame();
}

int writeFramePng(const CapturedFrame& frame, const char* path) {
    const std::vector<std::uint8_t> png = encodePng(frame.width, frame.height, 3, frame.rgb.data());
    if (png.empty()) return EIO;
    return replaceFile(path, png);
}
