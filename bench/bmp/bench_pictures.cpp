// Pixel data is noise, the worst case for anything that looks for repeats; the run-length
// streams mix encoded runs and literal runs as an encoder does on drawn pictures.
#include "bench/bmp/bench_pictures.h"

#include <cstdint>
#include <cstdlib>

#include "files/replacement_file.h"
#include "pictures/bmp_encoder.h"

namespace {

struct PictureKind {
    const char* name;
    int bitsPerPixel;
    std::uint32_t compression;  // 0, 1 (8-bit runs) or 2 (4-bit runs)
    bool topDown;
    bool shortRuns = false;  // run-length streams of encoded runs of 1 to 3 pixels only
};

constexpr PictureKind kKinds[] = {
    {"1-bit", 1, 0, false},
    {"4-bit", 4, 0, false},
    {"8-bit", 8, 0, false},
    {"16-bit", 16, 0, false},
    {"24-bit", 24, 0, false},
    {"32-bit", 32, 0, false},
    {"RLE4", 4, 2, false},
    {"RLE8", 8, 1, false},
    {"8-bit top-down", 8, 0, true},
    {"24-bit top-down", 24, 0, true},
    {"RLE4 short runs", 4, 2, false, true},
    {"RLE8 short runs", 8, 1, false, true},
};

// Odd widths, so every row ends in padding or a part-filled byte: about 1, 10 and 100 MB of RGB.
constexpr int kSizes[][2] = {{601, 581}, {1901, 1837}, {6007, 5813}};

class Noise {
  public:
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>(state_ >> 32);
    }
    void fill(std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(next());
    }

  private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15u;
};

// "BM" header, info header and a full noise colour table for depths up to 8; pixel data follows.
std::vector<std::uint8_t> startFile(const PictureKind& kind, int width, int height) {
    const std::uint32_t colors = kind.bitsPerPixel <= 8 ? 1u << kind.bitsPerPixel : 0;
    const std::size_t dataStart = 54 + 4 * colors;
    std::vector<std::uint8_t> bytes(dataStart);
    bytes[0] = 'B';
    bytes[1] = 'M';
    setU32(bytes, 10, static_cast<std::uint32_t>(dataStart));
    setU32(bytes, 14, 40);
    setU32(bytes, 18, static_cast<std::uint32_t>(width));
    setU32(bytes, 22, static_cast<std::uint32_t>(kind.topDown ? -height : height));
    setU16(bytes, 26, 1);
    setU16(bytes, 28, static_cast<std::uint32_t>(kind.bitsPerPixel));
    setU32(bytes, 30, kind.compression);
    Noise noise;
    noise.fill(bytes.data() + 54, 4 * colors);
    return bytes;
}

void appendRows(std::vector<std::uint8_t>& bytes, const PictureKind& kind, int width, int height) {
    const std::size_t stride =
        (std::size_t{32} * ((kind.bitsPerPixel * std::size_t(width) + 31) / 32)) / 8;
    const std::size_t start = bytes.size();
    bytes.resize(start + stride * height);
    Noise noise;
    noise.fill(bytes.data() + start, stride * height);
}

// Each row alternates encoded runs of 1 to 64 pixels and literal runs of 3 to 40, then an end
// of line; the last row ends with the end of bitmap. Short-run streams, the worst case (what an
// encoder writes for pixels repeated in pairs or threes, as dithering makes them), hold encoded
// runs of 1 to 3 pixels only.
void appendRunLengthRows(std::vector<std::uint8_t>& bytes, const PictureKind& kind, int width,
                         int height) {
    const bool rle4 = kind.compression == 2;
    Noise noise;
    for (int row = 0; row < height; ++row) {
        int x = 0;
        while (x < width) {
            const int left = width - x;
            if (kind.shortRuns || noise.next() % 2 == 0 || left < 3) {
                const int longest = kind.shortRuns ? 3 : 64;
                const int count = 1 + static_cast<int>(noise.next() % std::min(longest, left));
                bytes.push_back(static_cast<std::uint8_t>(count));
                bytes.push_back(static_cast<std::uint8_t>(noise.next()));
                x += count;
                continue;
            }
            const int count = 3 + static_cast<int>(noise.next() % std::min(38, left - 2));
            const std::size_t literalBytes = rle4 ? (count + 1) / 2 : count;
            bytes.push_back(0);
            bytes.push_back(static_cast<std::uint8_t>(count));
            for (std::size_t i = 0; i < literalBytes; ++i)
                bytes.push_back(static_cast<std::uint8_t>(noise.next()));
            if (literalBytes % 2 != 0) bytes.push_back(0);
            x += count;
        }
        bytes.push_back(0);
        bytes.push_back(row + 1 < height ? 0 : 1);
    }
}

}  // namespace

const std::vector<BenchPicture>& benchPictures() {
    static const std::vector<BenchPicture> pictures = [] {
        std::vector<BenchPicture> list;
        for (const PictureKind& kind : kKinds) {
            for (const auto& size : kSizes) {
                const int width = size[0], height = size[1];
                std::vector<std::uint8_t> bytes = startFile(kind, width, height);
                if (kind.compression == 0) {
                    appendRows(bytes, kind, width, height);
                } else {
                    appendRunLengthRows(bytes, kind, width, height);
                }
                const std::string sizeText = std::to_string(width) + "x" + std::to_string(height);
                BenchPicture picture;
                picture.name = std::string(kind.name) + " " + sizeText;
                picture.path = "/tmp/glimmer_bench_" + std::to_string(list.size()) + ".bmp";
                picture.outputBytes = std::size_t{3} * width * height;
                if (!writeFileBytes(picture.path.c_str(), bytes)) std::abort();
                list.push_back(picture);
            }
        }
        return list;
    }();
    return pictures;
}
