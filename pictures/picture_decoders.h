// The decoder of each format, behind decodePicture. Each one reads a whole file held in memory,
// checks the picture's size against the limits before it allocates the frames, and fills
// `picture` only on success.
#pragma once

#include <cstdint>
#include <span>

#include "pictures/picture.h"

LoadOutcome decodeBmpPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                             Picture& picture);
LoadOutcome decodePngPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                             Picture& picture);
LoadOutcome decodeJpegPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                              Picture& picture);
LoadOutcome decodeGifPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                             Picture& picture);
LoadOutcome decodeWebpPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                              Picture& picture);
