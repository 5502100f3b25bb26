// Decoding of a whole picture file held in memory, of any supported format (BMP, PNG, JPEG,
// GIF, WebP, told apart by their first bytes), free of any file access, so the file loader,
// the fuzz target and the tests share one path.
#pragma once

#include <cstdint>
#include <span>

#include "pictures/picture.h"

// Fills picture and returns ok, or returns the failure with its reason and leaves picture as
// it was. Nothing is allocated for a picture whose header already exceeds the limits.
LoadOutcome decodePicture(std::span<const std::uint8_t> file, Picture& picture,
                          const PictureLimits& limits = {});
