// A picture of the user's on the wall in real units, through the real path (its source fitted
// to the wall, uploaded, drawn by display()): each LED of the face shows the wall pixel the fit
// gives it.
#include "app/core/run_state.h"
#include "app/playback/wall_content.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstring>
#include <ostream>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/viewer_keys.h"
#include "app/playback/picture_texture.h"
#include "frames/picture_source.h"
#include "tests/support/gl_scene.h"
#include "tests/support/scene_state.h"

namespace {

using testsupport::Rgb;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kStripes[4] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {200, 200, 0}};
constexpr int kWallSide = 16;

// 8 x 4 pixels: four upright stripes of 2 x 4.
Picture stripes() {
    Picture picture;
    picture.width = 8;
    picture.height = 4;
    PictureFrame frame;
    frame.pixels = allocatePixelBuffer(8 * 4 * 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const Rgb c = kStripes[x / 2];
            std::uint8_t* p = frame.pixels.get() + (y * 8 + x) * 3;
            p[0] = c.r, p[1] = c.g, p[2] = c.b;
        }
    picture.frames.push_back(std::move(frame));
    return picture;
}

class WallContentTest : public ::testing::TestWithParam<WallFit> {
  protected:
    void SetUp() override {
        testsupport::resetSceneState();
        wallSetup = WallSetup{};
        wallSetup.realUnits = true;
        wallSetup.widthLeds = wallSetup.heightLeds = kWallSide;
        wallSetup.pitchMetres = 0.1;
        wallSetup.fit = GetParam();
    }
    void TearDown() override {
        for (ShownContent& picture : pictureCatalogue.contents)
            glDeleteTextures(1, &picture.texture);
        pictureCatalogue = PictureCatalogue{};
        wallSetup = WallSetup{};
    }

    // The colour shown at the centre of LED (column, row), row 0 at the bottom.
    static Rgb ledAt(const testsupport::Frame& frame, int column, int row) {
        const double pitch = wallSetup.pitchMetres;
        const testsupport::WindowPoint p =
            testsupport::projectToWindow(-wallSetup.wallWidthMetres() / 2 + (column + 0.5) * pitch,
                                         wallSetup.mountMetres + (row + 0.5) * pitch, 0);
        return frame.at(p.x, p.y);
    }
};

Rgb expectedLed(WallFit fit, int column, int row) {
    switch (fit) {
        case WallFit::contain:  // twice the size, 16 x 8, centred
            return row < 4 || row >= 12 ? kBlack : kStripes[column / 4];
        case WallFit::cover:  // four times, the middle 4 x 4 pixels: the middle two stripes
            return kStripes[1 + column / 8];
        case WallFit::stretch:
            return kStripes[column / 4];
    }
    return kBlack;
}

}  // namespace

void PrintTo(WallFit fit, std::ostream* out) {
    *out << (fit == WallFit::contain ? "contain" : fit == WallFit::cover ? "cover" : "stretch");
}

TEST_P(WallContentTest, EachLedShowsItsWallPixel) {
    std::vector<Content> pictures;
    pictures.push_back({"stripes.png", std::make_unique<PictureSource>(stripes())});
    fitContentToWall(pictures, wallSetup);
    ASSERT_TRUE(addContentTextures(pictureCatalogue, pictures));
    ASSERT_EQ(pictureCatalogue.contents.size(), 1u);
    EXPECT_EQ(pictureCatalogue.contents[0].info.width, kWallSide);
    effectParameters = startingParameters(pictureCatalogue, 0);
    EXPECT_EQ(effectParameters.pixelSize, 1);  // one LED a wall pixel
    placeCamera(camera, framingPlacement(wallSetup));
    display();
    const testsupport::Frame frame = testsupport::readShownFrame();
    for (int row = 0; row < kWallSide; ++row)
        for (int column = 0; column < kWallSide; ++column)
            EXPECT_TRUE(testsupport::nearColour(ledAt(frame, column, row),
                                                expectedLed(GetParam(), column, row)))
                << column << "," << row;
}

INSTANTIATE_TEST_SUITE_P(Fits, WallContentTest,
                         ::testing::Values(WallFit::contain, WallFit::cover, WallFit::stretch));
