// bmp2ppm IN.bmp OUT.ppm: decodes a picture exactly as the program does and writes it as a
// binary PPM (top row first), so a user can check a picture before using it.
#include <cstdio>
#include <cstdlib>

#include "image/dib_decoder.h"
#include "image/dib_image.h"

namespace {

bool writePpm(const char* path, const RgbImage& image) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    bool written = std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height) > 0;
    const std::size_t rowBytes = std::size_t{3} * image.width;
    // The image holds the bottom row first; PPM starts with the top row.
    for (std::int32_t row = image.height - 1; written && row >= 0; --row) {
        written = std::fwrite(image.pixels + rowBytes * row, 1, rowBytes, file) == rowBytes;
    }
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bmp2ppm IN.bmp OUT.ppm\n");
        return 1;
    }
    RgbImage* image = loadDibImage(argv[1]);  // shows its own notice on failure
    if (image == nullptr) return 1;
    const bool written = writePpm(argv[2], *image);
    freeRgbImage(image);
    if (!written) {
        std::fprintf(stderr, "bmp2ppm: cannot write %s\n", argv[2]);
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
