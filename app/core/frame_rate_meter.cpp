// FrameRateMeter: the times of the last second's uploads, counted when asked.
#include "app/core/frame_rate_meter.h"

#include <chrono>

namespace {

constexpr FrameClock::duration kWindow = std::chrono::seconds(1);

}  // namespace

void FrameRateMeter::frameShown(FrameClock::time_point now) {
    forgetBefore(now - kWindow);
    shown_.push_back(now);
}

double FrameRateMeter::framesPerSecond(FrameClock::time_point now) {
    forgetBefore(now - kWindow);
    return static_cast<double>(shown_.size()) / std::chrono::duration<double>(kWindow).count();
}

// A frame exactly one second old is out: a steady 30 a second then counts 30, not 31.
void FrameRateMeter::forgetBefore(FrameClock::time_point start) {
    while (!shown_.empty() && shown_.front() <= start) shown_.pop_front();
}
