// Shrinking pictures that are larger than a texture may be, by an area filter: each new pixel
// is the mean of the source area it covers, partly covered pixels weighted by their share.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/picture.h"

// The source pixels one target pixel covers along one axis, with their shares of it (summing
// to 1); one footprint per target pixel.
struct AreaFootprint {
    int first = 0;
    std::vector<float> weights;
};
std::vector<AreaFootprint> areaFootprints(int sourceSize, int targetSize);

struct PictureSize {
    std::int32_t width = 0, height = 0;
};

// The largest size of the same proportions with no side above maxSide (each side at least 1);
// the size itself when it already fits.
PictureSize fittedSize(PictureSize size, int maxSide);

// RGB rows (either row order) of source shrunk to target, each side no larger than source's.
// Null when memory runs out.
PixelBuffer areaScale(const std::uint8_t* rgb, PictureSize source, PictureSize target);

// Shrinks every frame of picture to fittedSize(maxSide). False, with the picture unchanged,
// when memory runs out.
bool fitPicture(Picture& picture, int maxSide);
