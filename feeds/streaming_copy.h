// Copies into a frame that is written whole and read next by another thread, so nothing it
// held is worth keeping in this core's caches: on x86 the bytes bypass them (non-temporal
// stores), which saves reading each cache line in before it is overwritten. A frame canvas
// was last written frames ago and is out of cache by then, so that read was most of a copy's
// cost.
#pragma once

#include <cstddef>
#include <cstdint>

void copyStreaming(std::uint8_t* to, const std::uint8_t* from, std::size_t bytes);
// Makes every streamed byte visible to other threads before what follows (a hand-over).
void finishStreaming();
