// Pictures turned the way their EXIF orientation says, as viewers show them: the decoders
// hand over the stored pixels, and this turns every frame before the picture is returned.
#pragma once

#include <cstdint>
#include <span>

#include "pictures/exif_orientation.h"
#include "pictures/picture.h"

// Turns (or mirrors) every frame; a quarter turn swaps width and height. Ok, or out of memory
// with the picture as it was.
PictureOutcome orientPicture(Picture& picture, Orientation orientation);

// orientPicture with the orientation of an EXIF block (none: nothing to do).
PictureOutcome orientPictureByExif(Picture& picture, std::span<const std::uint8_t> exif);
