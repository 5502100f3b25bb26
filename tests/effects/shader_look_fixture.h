// What the LED look tests share: the real scene state reset before each test, a picture shown
// in the normal view, a frame drawn through one effect and read back, and face positions in
// the window.
#pragma once

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <functional>
#include <vector>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/picture_catalogue.h"
#include "effects/effect_programs.h"
#include "tests/support/gl_scene.h"
#include "tests/support/scene_state.h"

namespace testsupport {

class ShaderLookFixture : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::resetSceneState(); }

    void TearDown() override { glDeleteTextures(GLsizei(made.size()), made.data()); }

    // Shows a picture of width by height in the normal view (faces twice as wide as high are
    // 40 by 20, from height 5 to 25).
    void showPicture(int width, int height, const std::function<Rgb(int, int)>& colourAt) {
        made.push_back(testsupport::makeTexture(width, height, colourAt));
        pictureCatalogue.textureIds[0] = made.back();
        pictureCatalogue.pictures[0] = {2, width, height};
    }

    void useNoise(const std::function<Rgb(int, int)>& colourAt) {
        made.push_back(testsupport::makeTexture(64, 64, colourAt));
        pictureCatalogue.textureIds[kNoiseSlot] = made.back();
    }

    static Frame draw(int mode, int pixelSize) {
        effectParameters.mode = mode;
        effectParameters.program = effectPrograms[mode];
        effectParameters.pixelSize = pixelSize;
        display();
        return testsupport::readShownFrame();
    }

    // Window pixel of the point at share (u, v) across the 40 by 20 face from height 5 to 25.
    static WindowPoint onFace(double u, double v) {
        return testsupport::projectToWindow(-20.0 + 40.0 * u, 5.0 + 20.0 * v, 0.0);
    }

    std::vector<GLuint> made;
};

// The face between the LEDs seen head-on, as a brightness: a dark grey, not black.
constexpr int kFaceBlack = 8;

inline int brightness(Rgb c) {
    return (c.r + c.g + c.b) / 3;
}

// The light a window pixel gives, as a share of white's: levels become light by the display's
// 2.2 power, as the effects assume. Light, unlike levels, adds up as the eye sees it.
inline double lightOf(Rgb c) {
    auto light = [](int level) { return std::pow(level / 255.0, 2.2); };
    return (light(c.r) + light(c.g) + light(c.b)) / 3;
}

}  // namespace testsupport
