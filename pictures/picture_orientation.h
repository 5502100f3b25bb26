// Pictures turned the way their EXIF orientation says, as viewers show them: the decoders
// hand over the stored pixels, and this turns every frame before the picture is returned.
#pragma once

#include <cstdint>
#include <span>

#include "pictures/exif_orientation.h"
#include "pictures/picture.h"

// Turns (or mirrors) every frame; a quarter turn swaps width and height. Ok, or out of memory
// with the picture as it was.
LoadOutcome orientPicture(Picture& picture, Orientation orientation);

// True for the orientations that swap width and height (the quarter turns and transpositions).
bool swapsSides(Orientation orientation);

// Turns one frame of `channels` bytes a pixel (width x height as stored, rows bottom first)
// into `shown`, which has the shown size: height x width for a quarter turn.
void turnPixels(const std::uint8_t* stored, std::uint8_t* shown, int width, int height,
                Orientation orientation, int channels);

// orientPicture with the orientation of an EXIF block (none: nothing to do).
LoadOutcome orientPictureByExif(Picture& picture, std::span<const std::uint8_t> exif);
