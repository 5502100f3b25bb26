// The LED wall seen from where a viewer stands, drawn by the real display path and read back:
// light that falls with the viewing angle, faster up and down than sideways; each LED's own
// small spread, fixed to the LED; LED centres head-on as they always were; nothing undefined
// edge-on.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <vector>

#include "app/core/run_state.h"
#include "camera/camera.h"
#include "tests/effects/shader_look_fixture.h"

namespace {

using testsupport::brightness;
using testsupport::Frame;
using testsupport::Rgb;
using testsupport::WindowPoint;

constexpr double kPi = 3.14159265358979;
constexpr double kSpread = 0.05;  // the largest deviation of one LED's drive, either way

class ShaderViewingTest : public testsupport::ShaderLookFixture {
  protected:
    void SetUp() override {
        ShaderLookFixture::SetUp();
        effectParameters.luminanceSteps = 0;
        effectParameters.colorBoost = 0.0f;
        effectParameters.burntOutPercent = 0.0f;
    }

    void showFlat(Rgb colour) {
        showPicture(64, 32, [colour](int, int) { return colour; });
    }

    // The camera `distance` away from the face's centre (0, 15, 0), turned `degrees` off its
    // axis to the right (sideways) or down (from below), looking at the centre.
    static void viewFrom(double degrees, bool fromBelow, double distance = 60) {
        const double off = distance * std::sin(degrees * kPi / 180);
        const double ahead = distance * std::cos(degrees * kPi / 180);
        camera.positionCamera(fromBelow ? 0 : float(off), fromBelow ? float(15 - off) : 15,
                              float(ahead), 0, 15, 0, 0, 1, 0);
    }

    // The colours at the centres of the LEDs in columns i0 to i1 and rows j0 to j1 of a face
    // of `across` by `up` cells.
    static std::vector<Rgb> ledCentres(const Frame& frame, int across, int up, int i0, int i1,
                                       int j0, int j1) {
        std::vector<Rgb> centres;
        for (int j = j0; j <= j1; ++j) {
            for (int i = i0; i <= i1; ++i) {
                const WindowPoint p = onFace((i + 0.5) / across, (j + 0.5) / up);
                centres.push_back(frame.at(p.x, p.y));
            }
        }
        return centres;
    }

    // Mean brightness of the middle of the face, sampled on a fine grid of face points that
    // falls on LEDs and gaps alike, so it weighs them as the eye does at any angle.
    static double middleBrightness(const Frame& frame) {
        double sum = 0;
        int count = 0;
        for (double v = 0.3; v < 0.7; v += 0.0137) {
            for (double u = 0.3; u < 0.7; u += 0.0071, ++count) {
                const WindowPoint p = onFace(u, v);
                sum += brightness(frame.at(p.x, p.y));
            }
        }
        return sum / count;
    }

    // Every colour of the frame drawn into a float framebuffer, where a NaN or a negative value
    // would survive instead of being clamped away.
    static std::vector<float> drawUnclamped(int effect, int pixelSize) {
        GLint viewport[4] = {0, 0, 0, 0};  // the whole window, as the last frame drew it
        glGetIntegerv(GL_VIEWPORT, viewport);
        const int width = viewport[2], height = viewport[3];
        GLuint texture = 0, depth = 0, framebuffer = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);  // a face that draws nothing shows as mid grey
        draw(effect, pixelSize);
        std::vector<float> rgb(size_t(width) * height * 3);
        glReadPixels(0, 0, width, height, GL_RGB, GL_FLOAT, rgb.data());
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &depth);
        glDeleteTextures(1, &texture);
        return rgb;
    }
};

TEST_F(ShaderViewingTest, HeadOnLedCentresKeepTheirLightWithinTheSpread) {
    // LED centres without a viewing angle or a spread: the picture's colour driven 1.6 times,
    // its peak p rolled off to p / (1 + 0.375 p), so (120, 80, 50) gives (150, 100, 62) and
    // grey 70 gives 96. The spread is even around zero, so the mean over many LEDs keeps those
    // values.
    struct Case {
        Rgb picture, led;
    };
    viewFrom(0, false);
    for (const Case& c : {Case{{120, 80, 50}, {150, 100, 62}}, Case{{70, 70, 70}, {96, 96, 96}}}) {
        showFlat(c.picture);
        for (int effect = 1; effect < kEffectCount; ++effect) {
            SCOPED_TRACE(effectInfos[effect].name);
            // The middle 8 by 4 of 16 by 8 cells: within 9 degrees of the axis.
            const std::vector<Rgb> centres = ledCentres(draw(effect, 4), 16, 8, 4, 11, 2, 5);
            double sum[3] = {0, 0, 0};
            for (const Rgb& led : centres) {
                const int got[3] = {led.r, led.g, led.b}, want[3] = {c.led.r, c.led.g, c.led.b};
                for (int k = 0; k < 3; ++k) {
                    EXPECT_NEAR(got[k], want[k], want[k] * kSpread + 1.5) << "channel " << k;
                    sum[k] += got[k];
                }
            }
            EXPECT_NEAR(sum[0] / centres.size(), c.led.r, c.led.r * 0.015 + 1);
            EXPECT_NEAR(sum[1] / centres.size(), c.led.g, c.led.g * 0.015 + 1);
            EXPECT_NEAR(sum[2] / centres.size(), c.led.b, c.led.b * 0.015 + 1);
        }
    }
}

TEST_F(ShaderViewingTest, EachLedKeepsItsOwnSpreadAsTheCameraMoves) {
    showFlat({70, 70, 70});
    viewFrom(0, false);
    const std::vector<Rgb> before = ledCentres(draw(1, 8), 8, 4, 0, 7, 0, 3);
    camera.positionCamera(2, 17, 48, 0, 15, 0, 0, 1, 0);
    const std::vector<Rgb> after = ledCentres(draw(1, 8), 8, 4, 0, 7, 0, 3);
    int low = 255, high = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(before[i].r, after[i].r, 2);
        EXPECT_NEAR(before[i].g, after[i].g, 2);
        EXPECT_NEAR(before[i].b, after[i].b, 2);
        EXPECT_NEAR(brightness(before[i]), 96, 96 * kSpread + 1.5);
        low = std::min(low, brightness(before[i]));
        high = std::max(high, brightness(before[i]));
    }
    EXPECT_GE(high - low, 4);  // up close the LEDs differ visibly
}

TEST_F(ShaderViewingTest, WhiteLightFallsWithTheViewingAngleFasterUpAndDown) {
    // The LEDs' light: a white picture's brightness less the bare face's (a black picture),
    // whose faint sheen grows towards glancing angles.
    auto lightAt = [&](double degrees, bool fromBelow) {
        viewFrom(degrees, fromBelow);
        showFlat({255, 255, 255});
        const double white = middleBrightness(draw(1, 4));
        showFlat({0, 0, 0});
        return white - middleBrightness(draw(1, 4));
    };
    const double headOn = lightAt(0, false);
    double previousSide = headOn, previousBelow = headOn;
    for (double degrees : {20.0, 45.0, 70.0, 85.0}) {
        SCOPED_TRACE(degrees);
        const double side = lightAt(degrees, false), below = lightAt(degrees, true);
        EXPECT_LT(side, previousSide);
        EXPECT_LT(below, previousBelow);
        EXPECT_LT(below, side);
        previousSide = side;
        previousBelow = below;
    }
    // Half the light about 70 degrees sideways and 45 degrees from below.
    EXPECT_NEAR(lightAt(70, false) / headOn, 0.5, 0.08);
    EXPECT_NEAR(lightAt(45, true) / headOn, 0.5, 0.08);
}

TEST_F(ShaderViewingTest, EdgeOnTheFaceShowsNoNanOrNegativeColour) {
    showFlat({255, 255, 255});
    // A hair in front of the face, looking along it: the face fills a wedge of the window
    // whose far points are seen within a fraction of a degree of edge-on.
    struct View {
        float x, y, lookX, lookY, upY, upZ;
    };
    // Along the face sideways, then downwards.
    for (const View& view : {View{15, 15, -20, 15, 1, 0}, View{0, 22, 0, 5, 0, 1}}) {
        camera.positionCamera(view.x, view.y, 0.05f, view.lookX, view.lookY, -0.5f, 0, view.upY,
                              view.upZ);
        for (int effect = 1; effect < kEffectCount; ++effect) {
            SCOPED_TRACE(effectInfos[effect].name);
            const std::vector<float> rgb = drawUnclamped(effect, 2);
            int faceValues = 0, bad = 0;
            for (float value : rgb) {
                bad += !(value >= 0.0f) || !std::isfinite(value);
                faceValues += value != 0.5f;
            }
            EXPECT_EQ(bad, 0);
            EXPECT_GT(faceValues, 3000);  // the face was drawn, not only the clear colour
        }
    }
}

}  // namespace
