// Content fitted to the wall's LEDs: which part of it lands on which LEDs under each fit, and
// the area filter's means where LEDs and pixels do not line up.
#include "pictures/wall_fit.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

using Rgb = std::array<int, 3>;
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kStripes[4] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {200, 200, 0}};

// A picture of four upright stripes of equal width, left to right kStripes.
std::vector<std::uint8_t> stripes(int width, int height, int channels) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * channels, 77);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                pixels[(std::size_t(y) * width + x) * channels + c] =
                    std::uint8_t(kStripes[x * 4 / width][c]);
    return pixels;
}

struct Wall {
    int width, height;
    std::vector<std::uint8_t> rgb;
    Rgb at(int x, int y) const {
        const std::uint8_t* p = &rgb[(std::size_t(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

Wall fitted(const std::vector<std::uint8_t>& pixels, int channels, int width, int height,
            int wallWidth, int wallHeight, WallFit fit) {
    Wall wall{wallWidth, wallHeight,
              std::vector<std::uint8_t>(std::size_t(wallWidth) * wallHeight * 3)};
    fitToWall(pixels.data(), channels, width, height, wallWidth, wallHeight, fit, wall.rgb.data());
    return wall;
}

}  // namespace

TEST(WallFitTest, EachFitPutsTheStripesOnTheirOwnLeds) {
    // 8 x 4 stripes of 2 x 4 pixels on a 16 x 16 wall.
    const std::vector<std::uint8_t> picture = stripes(8, 4, 3);
    // Contain: twice the size, 16 x 8, centred: 4 unlit rows above and below.
    const Wall contain = fitted(picture, 3, 8, 4, 16, 16, WallFit::contain);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(contain.at(x, y), (y < 4 || y >= 12) ? kBlack : kStripes[x / 4])
                << x << "," << y;
    // Cover: four times the size, the middle 4 x 4 pixels shown: the second and third stripes.
    const Wall cover = fitted(picture, 3, 8, 4, 16, 16, WallFit::cover);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(cover.at(x, y), kStripes[1 + x / 8]) << x << "," << y;
    // Stretch: every stripe, four LEDs wide and the wall's height.
    const Wall stretch = fitted(picture, 3, 8, 4, 16, 16, WallFit::stretch);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(stretch.at(x, y), kStripes[x / 4]) << x << "," << y;
}

TEST(WallFitTest, ShrinkingTakesTheMeanOfEachLedsArea) {
    // 12 x 2 stripes of 3 pixels onto 5 x 1 LEDs: each LED covers 2.4 pixels, so LED 1 takes
    // 0.6 of stripe 0's last pixel and 1.8 of stripe 1: a quarter and three quarters.
    const std::vector<std::uint8_t> picture = stripes(12, 2, 4);  // RGBA: the fourth byte unread
    const Wall wall = fitted(picture, 4, 12, 2, 5, 1, WallFit::stretch);
    EXPECT_EQ(wall.at(0, 0), kStripes[0]);
    EXPECT_EQ(wall.at(1, 0), (Rgb{50, 150, 0}));
    EXPECT_EQ(wall.at(4, 0), kStripes[3]);
}

TEST(WallFitTest, RectanglesOfAWideVideoOnAWall) {
    // 1920 x 1080 contained on 914 x 269: 478 x 269, centred 218 LEDs from the left.
    const WallFitRects contain = wallFitRects(1920, 1080, 914, 269, WallFit::contain);
    EXPECT_EQ(contain.wall.x, 218);
    EXPECT_EQ(contain.wall.width, 478);
    EXPECT_EQ(contain.wall.height, 269);
    // Covered: the middle 1920 x 565 rows shown.
    const WallFitRects cover = wallFitRects(1920, 1080, 914, 269, WallFit::cover);
    EXPECT_EQ(cover.source.width, 1920);
    EXPECT_EQ(cover.source.height, 565);
    EXPECT_EQ(cover.source.y, 257);
}

TEST(WallFitTest, APlaneHalvedTakesTheMeanOfEachTwoByTwoWithUnlitLedsAround) {
    // 4 x 2 samples contained on 2 x 2 LEDs: halved to 2 x 1 in the bottom row, the top row unlit.
    const std::uint8_t plane[8] = {10, 20, 30, 40, 50, 60, 70, 81};
    std::uint8_t wall[4] = {};
    fitPlaneToWall(plane, 4, 2, 2, 2, WallFit::contain, 16, wall);
    EXPECT_EQ(wall[0], 35);  // (10 + 20 + 50 + 60) / 4
    EXPECT_EQ(wall[1], 55);  // (30 + 40 + 70 + 81) / 4 = 55.25
    EXPECT_EQ(wall[2], 16);
    EXPECT_EQ(wall[3], 16);
}

TEST(WallFitTest, AWidePlaneHalvedTakesEachTwoByTwosRoundedMean) {
    // 80 x 4 samples on 40 x 2 LEDs: whole runs of sixteen LEDs and a remainder, bright
    // samples among them so no sum can wrap.
    constexpr int kWidth = 80, kHeight = 4;
    std::uint8_t plane[kWidth * kHeight];
    for (int i = 0; i < kWidth * kHeight; ++i) plane[i] = std::uint8_t(i % 7 == 0 ? 255 : i * 37);
    std::uint8_t wall[40 * 2] = {};
    fitPlaneToWall(plane, kWidth, kHeight, 40, 2, WallFit::contain, 16, wall);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 40; ++x) {
            const std::uint8_t* corner = plane + 2 * y * kWidth + 2 * x;
            const int sum = corner[0] + corner[1] + corner[kWidth] + corner[kWidth + 1];
            EXPECT_EQ(wall[y * 40 + x], (sum + 2) / 4) << x << ", " << y;
        }
}
