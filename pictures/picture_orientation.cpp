// orientPicture: each shown pixel taken from the stored one it comes from, in top-first
// coordinates, into a new buffer per frame.
#include "pictures/picture_orientation.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

// Where shown pixel (x, y) of a shown picture lies in a stored one of width x height.
std::pair<int, int> storedPixel(Orientation orientation, int x, int y, int width, int height) {
    switch (orientation) {
        case Orientation::asStored:
            break;
        case Orientation::mirrored:
            return {width - 1 - x, y};
        case Orientation::halfTurn:
            return {width - 1 - x, height - 1 - y};
        case Orientation::flipped:
            return {x, height - 1 - y};
        case Orientation::transposed:
            return {y, x};
        case Orientation::quarterClockwise:
            return {y, height - 1 - x};
        case Orientation::transverse:
            return {width - 1 - y, height - 1 - x};
        case Orientation::quarterAnticlockwise:
            return {width - 1 - y, x};
    }
    return {x, y};
}

}  // namespace

// Every orientation maps a shown pixel to a stored one linearly, so the stored pixel of each
// shown one is a step away from the one before: no per-pixel case, fast enough for video.
void turnPixels(const std::uint8_t* stored, std::uint8_t* shown, int width, int height,
                Orientation orientation, int channels) {
    const int shownWidth = swapsSides(orientation) ? height : width;
    const int shownHeight = swapsSides(orientation) ? width : height;
    // Both buffers are bottom row first: top-first row y is row height - 1 - y.
    const auto index = [&](int x, int y) {
        const auto [sx, sy] = storedPixel(orientation, x, y, width, height);
        return static_cast<std::ptrdiff_t>(width) * (height - 1 - sy) + sx;
    };
    const std::ptrdiff_t origin = index(0, 0);
    const std::ptrdiff_t acrossStep = index(1, 0) - origin, downStep = index(0, 1) - origin;
    for (int y = 0; y < shownHeight; ++y) {
        std::uint8_t* row = shown + std::size_t(channels) * shownWidth * (shownHeight - 1 - y);
        std::ptrdiff_t from = origin + downStep * y;
        if (channels == 4) {
            for (int x = 0; x < shownWidth; ++x, from += acrossStep)
                std::memcpy(row + 4 * std::size_t(x), stored + 4 * from, 4);
        } else {
            for (int x = 0; x < shownWidth; ++x, from += acrossStep)
                std::memcpy(row + std::size_t(channels) * x, stored + channels * from,
                            std::size_t(channels));
        }
    }
}

bool swapsSides(Orientation orientation) {
    return orientation >= Orientation::transposed;
}

LoadOutcome orientPicture(Picture& picture, Orientation orientation) {
    if (orientation == Orientation::asStored) return {};
    const std::size_t byteCount = std::size_t{3} * picture.width * picture.height;
    std::vector<PixelBuffer> turned;
    turned.reserve(picture.frames.size());
    for (const PictureFrame& frame : picture.frames) {
        PixelBuffer pixels = allocatePixelBuffer(byteCount);
        if (!pixels) return loadFailure(LoadStatus::outOfMemory, "out of memory");
        turnPixels(frame.pixels.get(), pixels.get(), picture.width, picture.height, orientation, 3);
        turned.push_back(std::move(pixels));
    }
    for (std::size_t i = 0; i < turned.size(); ++i) picture.frames[i].pixels = std::move(turned[i]);
    if (swapsSides(orientation)) std::swap(picture.width, picture.height);
    return {};
}

LoadOutcome orientPictureByExif(Picture& picture, std::span<const std::uint8_t> exif) {
    return orientPicture(picture, exifOrientation(exif));
}
