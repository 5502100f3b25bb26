// Writes the sample pictures into a folder: a photo-like JPEG, a badge PNG with transparent
// corners, an animated GIF ticker, a lossless WebP of the photo and a BMP, for trying the
// program's picture options without third-party images.
//   sample_pictures <folder> [--photo WIDTHxHEIGHT]   (the photo is 1600x1000 by default)
#include <cstdio>
#include <filesystem>
#include <string>

#include "files/replacement_file.h"
#include "pictures/bmp_encoder.h"
#include "pictures/picture_encoders.h"
#include "tools/sample_pictures/sample_drawing.h"

namespace {

constexpr int kJpegQuality = 90;

bool write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    const bool written = !bytes.empty() && writeFileBytes(path.c_str(), bytes);
    std::fprintf(stderr, "%s %s\n", written ? "wrote" : "could not write", path.c_str());
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    int photoWidth = 1600, photoHeight = 1000;
    if (argc == 4 && std::string(argv[2]) == "--photo") {
        if (std::sscanf(argv[3], "%dx%d", &photoWidth, &photoHeight) != 2 || photoWidth < 1 ||
            photoHeight < 1) {
            argc = 0;
        }
    }
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: sample_pictures <folder> [--photo WIDTHxHEIGHT]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    const auto photo = photoLikeRgb(photoWidth, photoHeight);
    const auto badge = badgeRgba(256);
    const auto small = photoLikeRgb(300, 200);
    bool ok = write(folder / "photo.jpg",
                    encodeJpeg(photoWidth, photoHeight, photo.data(), kJpegQuality));
    ok = write(folder / "badge.png", encodePng(256, 256, 4, badge.data())) && ok;
    ok = write(folder / "ticker.gif", encodeGif(tickerGif(240, 60, 24))) && ok;
    ok = write(folder / "landscape.webp", encodeWebpLossless(300, 200, 3, small.data())) && ok;
    ok = write(folder / "landscape.bmp", encodeBmp24(300, 200, small.data())) && ok;
    return ok ? 0 : 1;
}
