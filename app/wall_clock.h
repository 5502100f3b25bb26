// The platform's wall-clock time, reduced to what the program needs: the seconds field of
// the current UTC time, which drives the blinking neon sign. Tests can pin the clock.
#pragma once

#include <cstdint>
#include <optional>

// Seconds field (0 to 59) of the current UTC time, or of the pinned time.
int wallClockSecond();

// Pins the clock at `secondsSinceEpoch` (UTC); std::nullopt follows the real clock again.
void pinWallClock(std::optional<std::int64_t> secondsSinceEpoch);
