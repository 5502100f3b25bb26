// The committed pictures under Textures/: every file of the program's texture table decodes
// with the loader, has the size and storage the generator meant, and is what the generator
// writes today, bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "bmp/dib_image.h"
#include "tests/support/process.h"
#include "tools/texture_generator/picture_table.h"

namespace {

// The files of the program's texture slots 0 to 12, in slot order.
const char* const slotFiles[] = {
    "flagcross.bmp",       "qelt.bmp",  "marrowby.bmp", "logoGray.bmp",      "tovin.bmp",
    "neonOff.bmp",         "noise.bmp", "dayGrass.bmp", "dayBackground.bmp", "nightGrass.bmp",
    "nightBackground.bmp", "metal.bmp", "neonOn.bmp"};

struct FreeImage {
    void operator()(RgbImage* image) const {
        std::free(image->pixels);
        std::free(image);
    }
};
using Image = std::unique_ptr<RgbImage, FreeImage>;

Image load(const std::string& fileName) {
    return Image(loadDibImage(("Textures/" + fileName).c_str()));
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned readU16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}

// Bitmap header size and bits per pixel of a "BM" file.
struct Kind {
    unsigned headerSize, bitsPerPixel;
};
Kind kindOf(const std::vector<std::uint8_t>& bytes) {
    unsigned headerSize = readU16(bytes, 14);
    unsigned bits = readU16(bytes, headerSize == 12 ? 24 : 28);
    return {headerSize, bits};
}

// Smallest d >= 2 dividing both sides, else the smaller side: the program's LED cell step.
int cellStepOf(int width, int height) {
    for (int d = 2; d < std::min(width, height); ++d)
        if (width % d == 0 && height % d == 0) return d;
    return std::min(width, height);
}

const texgen::PictureFile& tableEntry(const std::string& fileName) {
    for (const texgen::PictureFile& file : texgen::pictureFiles())
        if (fileName == file.fileName) return file;
    ADD_FAILURE() << fileName << " is not in the generator's table";
    return texgen::pictureFiles()[0];
}

TEST(PictureFilesTest, EverySlotFileDecodesAtTheGeneratorsSize) {
    for (const char* name : slotFiles) {
        Image image = load(name);
        ASSERT_NE(image, nullptr) << name;
        const texgen::PictureFile& meant = tableEntry(name);
        EXPECT_EQ(image->width, meant.width) << name;
        EXPECT_EQ(image->height, meant.height) << name;
    }
    EXPECT_EQ(texgen::pictureFiles().size(), std::size(slotFiles));
}

TEST(PictureFilesTest, FilesCoverTheLoadersFormatsWithinEightMegabytes) {
    std::size_t total = 0, core = 0, depth24 = 0, depth8 = 0, depth4or1 = 0;
    for (const char* name : slotFiles) {
        std::vector<std::uint8_t> bytes = fileBytes(std::string("Textures/") + name);
        ASSERT_GT(bytes.size(), 26u) << name;
        ASSERT_EQ(bytes[0], 'B');
        ASSERT_EQ(bytes[1], 'M');
        total += bytes.size();
        Kind kind = kindOf(bytes);
        core += kind.headerSize == 12;
        depth24 += kind.bitsPerPixel == 24;
        depth8 += kind.bitsPerPixel == 8;
        depth4or1 += kind.bitsPerPixel == 4 || kind.bitsPerPixel == 1;
    }
    EXPECT_LT(total, 8u * 1024 * 1024);
    EXPECT_GE(core, 1u);
    EXPECT_GE(depth8, 1u);
    EXPECT_GE(depth4or1, 1u);
    EXPECT_GT(depth24, std::size(slotFiles) / 2);
    EXPECT_EQ(kindOf(fileBytes("Textures/logoGray.bmp")).bitsPerPixel, 8u);
}

TEST(PictureFilesTest, PicturesDifferInCellStepAndProportion) {
    std::set<int> steps;
    bool twiceAsWide = false, square = false, largeCommonStep = false;
    for (int slot = 0; slot < 6; ++slot) {
        Image image = load(slotFiles[slot]);
        ASSERT_NE(image, nullptr);
        int step = cellStepOf(image->width, image->height);
        steps.insert(step);
        twiceAsWide |= image->width == 2 * image->height;
        square |= image->width == image->height;
        largeCommonStep |= step >= 10;
    }
    EXPECT_TRUE(twiceAsWide);
    EXPECT_TRUE(square);
    EXPECT_TRUE(largeCommonStep);
    EXPECT_GE(steps.size(), 4u);
}

// GLU rescales a picture whose sides are not powers of two before building its mipmaps, which
// is most of the scene load; only the billboard pictures (slots 0 to 5, and the lit neon sign
// of slot 12 at slot 5's size) keep their own proportions.
TEST(PictureFilesTest, SceneTexturesHavePowerOfTwoSides) {
    auto powerOfTwo = [](int side) { return side > 0 && (side & (side - 1)) == 0; };
    for (int slot = 6; slot <= 11; ++slot) {
        Image image = load(slotFiles[slot]);
        ASSERT_NE(image, nullptr) << slotFiles[slot];
        EXPECT_TRUE(powerOfTwo(image->width)) << slotFiles[slot];
        EXPECT_TRUE(powerOfTwo(image->height)) << slotFiles[slot];
    }
}

TEST(PictureFilesTest, BackdropsAreDrawnAtTheirQuadsProportionsThenShrunk) {
    for (const char* name : {"dayBackground.bmp", "nightBackground.bmp"}) {
        const texgen::PictureFile& file = tableEntry(name);
        EXPECT_EQ(file.designWidth * 2, file.designHeight * 3) << name;
        texgen::Canvas drawn = texgen::drawPicture(file);
        EXPECT_EQ(drawn.width(), file.width) << name;
        EXPECT_EQ(drawn.height(), file.height) << name;
    }
}

TEST(PictureFilesTest, NeonSignStatesShareTheirSizeAndTheLitOneIsBrighter) {
    Image off = load("neonOff.bmp"), on = load("neonOn.bmp");
    ASSERT_NE(off, nullptr);
    ASSERT_NE(on, nullptr);
    ASSERT_EQ(off->width, on->width);
    ASSERT_EQ(off->height, on->height);
    std::size_t count = static_cast<std::size_t>(off->width) * off->height * 3;
    double offSum = std::accumulate(off->pixels, off->pixels + count, 0.0);
    double onSum = std::accumulate(on->pixels, on->pixels + count, 0.0);
    EXPECT_GT(onSum, 1.5 * offSum);
}

TEST(PictureFilesTest, NoiseIsGrayAndAThresholdPicksItsShareOfCells) {
    Image noise = load("noise.bmp");
    ASSERT_NE(noise, nullptr);
    std::size_t cells = static_cast<std::size_t>(noise->width) * noise->height;
    std::vector<int> levels(256);
    for (std::size_t i = 0; i < cells; ++i) {
        const unsigned char* p = noise->pixels + 3 * i;
        ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "pixel " << i << " is not gray";
        ++levels[p[0]];
    }
    for (int threshold = 16; threshold < 256; threshold += 16) {
        int below = std::accumulate(levels.begin(), levels.begin() + threshold, 0);
        EXPECT_NEAR(static_cast<double>(below) / cells, threshold / 256.0, 0.01) << threshold;
    }
    // Neighbouring cells are unrelated: no long runs of one level along a row.
    int equalNeighbours = 0;
    for (std::size_t i = 1; i < cells; ++i)
        equalNeighbours += noise->pixels[3 * i] == noise->pixels[3 * i - 3];
    EXPECT_LT(equalNeighbours, static_cast<int>(cells / 64));
}

TEST(TextureGeneratorTest, RegeneratesTheCommittedFilesBitForBit) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("glimmer-textures-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    testsupport::ProcessOptions options;
    options.arguments = {folder.string()};
    options.timeoutSeconds = 60;
    testsupport::ProcessResult result =
        testsupport::runProcess(GLIMMER_BINARY_DIR "/texture_generator", options);
    EXPECT_EQ(result.exitStatus, 0) << result.errorText;
    for (const char* name : slotFiles)
        EXPECT_TRUE(fileBytes((folder / name).string()) ==
                    fileBytes(std::string("Textures/") + name))
            << name << " differs from what the generator writes";
    std::filesystem::remove_all(folder);
}

}  // namespace
