// The rate at which a source's frames reach the wall, over the last second: what --stats adds
// to each moving source's line. Free of GL; the display tells it of each upload.
#pragma once

#include <deque>

#include "frames/frame_source.h"

class FrameRateMeter {
  public:
    // A new frame went into the texture at `now`.
    void frameShown(FrameClock::time_point now);
    // Frames shown in the second up to `now`, per second.
    double framesPerSecond(FrameClock::time_point now);

  private:
    void forgetBefore(FrameClock::time_point start);

    std::deque<FrameClock::time_point> shown_;  // the last second's, oldest first
};
