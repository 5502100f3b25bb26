// Reads the layout, allocates the output, then runs the depth converter or the run-length
// decoder over the pixel data in place.
#include "bmp/dib_decoder.h"

#include <cstdlib>

#include "bmp/dib_rle.h"
#include "bmp/dib_rows.h"
#include "bmp/pixel_buffer.h"

RgbImage* decodeDib(std::span<const std::uint8_t> file, DibStatus& status) {
    DibLayout layout;
    status = readDibLayout(file, layout);
    if (status != DibStatus::ok) return nullptr;

    // Bounded by kMaxDibPixelCount, so the product cannot overflow.
    const std::size_t byteCount = std::size_t{3} * layout.header.width * layout.rows;
    std::uint8_t* pixels = allocatePixels(byteCount);
    if (pixels == nullptr) {
        status = DibStatus::outOfMemory;
        return nullptr;
    }
    if (layout.header.compression == kDibUncompressed) {
        convertDibRows(layout, pixels);
    } else {
        status = decodeDibRle(layout, pixels);
    }
    auto* image =
        status == DibStatus::ok ? static_cast<RgbImage*>(std::malloc(sizeof(RgbImage))) : nullptr;
    if (image == nullptr) {
        if (status == DibStatus::ok) status = DibStatus::outOfMemory;
        std::free(pixels);
        return nullptr;
    }
    image->width = layout.header.width;
    image->height = layout.rows;
    image->pixels = pixels;
    return image;
}

void freeRgbImage(RgbImage* image) {
    if (image == nullptr) return;
    std::free(image->pixels);
    std::free(image);
}
