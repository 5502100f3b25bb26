// libFuzzer target for the BMP decoder: any bytes as a whole file, decoded from memory.
// A decoded image must have a positive size, and every output byte is read back so the
// sanitizers see a buffer shorter than its size claims. The build and run commands are in
// docs/benchmarks/bmp.md.
#include <cstdint>
#include <cstdlib>

#include "bmp/dib_decoder.h"

namespace {

// A few bytes of run-length stream may claim up to the loader's full limit of pixels; such
// files take the same code paths as small ones, only slower, so past this size only the header
// reading runs and the executions per second stay high.
constexpr std::uint64_t kMaxFuzzedPixelCount = std::uint64_t{1} << 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DibLayout layout;
    const DibStatus layoutStatus = readDibLayout({data, size}, layout);
    if (layoutStatus == DibStatus::ok &&
        std::uint64_t{static_cast<std::uint32_t>(layout.header.width)} * layout.rows >
            kMaxFuzzedPixelCount) {
        return 0;
    }

    DibStatus status = DibStatus::ok;
    RgbImage* image = decodeDib({data, size}, status);
    if (image == nullptr) {
        if (status == DibStatus::ok) std::abort();
        return 0;
    }
    if (layoutStatus != DibStatus::ok || image->width != layout.header.width ||
        image->height != layout.rows || image->height <= 0 || image->width <= 0) {
        std::abort();
    }
    const std::size_t byteCount = std::size_t{3} * image->width * image->height;
    volatile unsigned sum = 0;
    for (std::size_t i = 0; i < byteCount; ++i) sum = sum + image->pixels[i];
    freeRgbImage(image);
    return 0;
}
