// The platform's clocks, reduced to what the program needs: the seconds field of the current
// UTC time, which drives the blinking neon sign, and the steady clock by which the user's
// pictures play their frames. Tests and the offline review can pin either.
#pragma once

#include <cstdint>
#include <optional>

#include "frames/frame_source.h"

// Seconds field (0 to 59) of the current UTC time, or of the pinned time.
int wallClockSecond();

// Pins the clock at `secondsSinceEpoch` (UTC); std::nullopt follows the real clock again.
void pinWallClock(std::optional<std::int64_t> secondsSinceEpoch);

// The time the shown picture's frames are taken at: the steady clock, or the pinned time.
FrameClock::time_point frameClockNow();

// Pins the frame clock at `moment`; std::nullopt follows the steady clock again.
void pinFrameClock(std::optional<FrameClock::time_point> moment);
