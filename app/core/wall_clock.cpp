// The two clocks the display reads, the wall clock's seconds for the neon sign and the frame
// clock for moving pictures, each of which tests can pin to a fixed value.
#include "app/core/wall_clock.h"

#include <chrono>

namespace {

std::optional<std::int64_t> pinnedSeconds;
std::optional<FrameClock::time_point> pinnedMoment;

}  // namespace

int wallClockSecond() {
    // The system clock counts Unix time, which is UTC without leap seconds.
    const std::int64_t seconds = pinnedSeconds
                                     ? *pinnedSeconds
                                     : std::chrono::duration_cast<std::chrono::seconds>(
                                           std::chrono::system_clock::now().time_since_epoch())
                                           .count();
    const int second = int(seconds % 60);
    return second < 0 ? second + 60 : second;
}

void pinWallClock(std::optional<std::int64_t> secondsSinceEpoch) {
    pinnedSeconds = secondsSinceEpoch;
}

FrameClock::time_point frameClockNow() {
    return pinnedMoment ? *pinnedMoment : FrameClock::now();
}

void pinFrameClock(std::optional<FrameClock::time_point> moment) {
    pinnedMoment = moment;
}
