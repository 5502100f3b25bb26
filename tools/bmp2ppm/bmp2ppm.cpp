// bmp2ppm IN.bmp OUT.ppm: decodes a picture exactly as the program does and writes it as a
// binary PPM (top row first), so a user can check a picture before using it.
#include <cstdio>
#include <cstring>
#include <string>

#include "bmp/dib_decoder.h"
#include "bmp/dib_image.h"
#include "files/replacement_file.h"

namespace {

// The PPM bytes of image; errno value of a failed write, or 0. An existing file at path keeps
// its contents unless the whole picture was written.
int writePpm(const char* path, const RgbImage& image) {
    ReplacementFile file;
    if (!file.open(path)) return file.error();
    file.write("P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) +
               "\n255\n");
    const std::size_t rowBytes = std::size_t{3} * image.width;
    // The image holds the bottom row first; PPM starts with the top row.
    for (std::int32_t row = image.height - 1; row >= 0; --row) {
        if (!file.write(image.pixels + rowBytes * row, rowBytes)) break;
    }
    file.commit();
    return file.error();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bmp2ppm IN.bmp OUT.ppm\n");
        return 1;
    }
    RgbImage* image = loadDibImage(argv[1]);  // shows its own notice on failure
    if (image == nullptr) return 1;
    const int error = writePpm(argv[2], *image);
    freeRgbImage(image);
    if (error != 0) {
        std::fprintf(stderr, "bmp2ppm: cannot write %s: %s\n", argv[2], std::strerror(error));
        return 1;
    }
    return 0;
}
