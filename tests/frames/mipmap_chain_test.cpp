// The mipmap levels a source works out itself: GL's level sizes down to 1 x 1, each texel the
// rounded mean of the four above it, an odd last row or column dropped.
#include "frames/mipmap_chain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(MipmapChainTest, LevelsHaveGlSizesAndTheMeansOfTheTexelsAbove) {
    EXPECT_EQ(mipmapLevelCount(5, 3), 2);  // 2 x 1, then 1 x 1
    EXPECT_EQ(mipmapLevelCount(1920, 1080), 10);
    EXPECT_EQ(mipmapChainBytes(5, 3), 3u * (2 * 1 + 1 * 1));
    EXPECT_EQ(mipmapChainBytes(1, 1), 0u);

    // 5 x 3, red = 10 * x + y, green = 255 - red, blue = 7 everywhere.
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const int red = 10 * x + y;
            pixels.insert(pixels.end(), {std::uint8_t(red), std::uint8_t(255 - red), 7});
        }
    std::vector<std::uint8_t> chain(mipmapChainBytes(5, 3));
    buildMipmapChain(pixels.data(), 5, 3, chain.data());
    // Level 1: texels (0..1, 0..1) and (2..3, 0..1); column 4 and row 2 dropped.
    EXPECT_EQ(chain[0], 6);    // (0 + 10 + 1 + 11) / 4 = 5.5, rounded
    EXPECT_EQ(chain[1], 250);  // 249.5, rounded
    EXPECT_EQ(chain[2], 7);
    EXPECT_EQ(chain[3], 26);  // (20 + 30 + 21 + 31) / 4 = 25.5, rounded
    // Level 2, 1 x 1 from a 2 x 1 level: its two texels.
    EXPECT_EQ(chain[6], 16);
    EXPECT_EQ(chain[8], 7);
}

// RGBA frames and the one-byte planes of video frames take vector paths: they must give the
// texels the plain one gives RGB, at every level, odd sides included.
TEST(MipmapChainTest, RgbaAndPlaneLevelsMatchRgbOnes) {
    const int width = 75, height = 9;
    std::vector<std::uint8_t> rgb, rgba, planes[3];
    unsigned seed = 12345;
    for (int i = 0; i < width * height; ++i) {
        for (int c = 0; c < 3; ++c) {
            seed = seed * 1103515245 + 12345;
            rgb.push_back(std::uint8_t(seed >> 16));
            rgba.push_back(rgb.back());
            planes[c].push_back(rgb.back());
        }
        rgba.push_back(255);
    }
    std::vector<std::uint8_t> chain3(mipmapChainBytes(width, height));
    std::vector<std::uint8_t> chain4(mipmapChainBytes(width, height, 4));
    buildMipmapChain(rgb.data(), width, height, chain3.data());
    buildMipmapChain(rgba.data(), width, height, chain4.data(), 4);
    std::vector<std::uint8_t> planeChains[3];
    for (int c = 0; c < 3; ++c) {
        planeChains[c].resize(mipmapChainBytes(width, height, 1));
        buildMipmapChain(planes[c].data(), width, height, planeChains[c].data(), 1);
    }
    ASSERT_EQ(chain4.size() / 4, chain3.size() / 3);
    for (std::size_t texel = 0; texel < chain3.size() / 3; ++texel) {
        for (int c = 0; c < 3; ++c) {
            ASSERT_EQ(chain4[4 * texel + c], chain3[3 * texel + c]) << texel;
            ASSERT_EQ(planeChains[c][texel], chain3[3 * texel + c]) << texel;
        }
        ASSERT_EQ(chain4[4 * texel + 3], 255);
    }
}
