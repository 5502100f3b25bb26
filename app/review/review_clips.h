// The headless review of moving content: one MP4 clip per review view of a user picture that
// changes by itself (a video, an animation), rendered offline frame by frame at its own rate,
// so a clip is the same on every run and on any machine.
#pragma once

#include <string>

#include "frames/frame_source.h"

// The rate review clips sample at most: what displays show.
inline constexpr double kMaxReviewFrameRate = 60;

// Writes <stem>-effect-1.mp4 ... -night.mp4 in folder for user picture `picture`, `seconds`
// long each, drawn by the real display callback with the frame clock pinned frame by frame
// from `start`. Does nothing for a still picture. False when a clip could not be written
// (the reason is on standard error).
bool writeReviewClips(const std::string& folder, const std::string& stem, int picture, int seconds,
                      FrameClock::time_point start);
