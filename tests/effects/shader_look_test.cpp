// The four LED looks as drawn by the real display path into the real window and read back:
// flat cells, dark gaps between round LEDs, luminance steps, burnt-out LEDs, and an even
// light instead of moire when the cells get smaller than screen pixels.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/startup.h"
#include "camera/camera.h"
#include "effects/effect_programs.h"
#include "tests/effects/shader_look_fixture.h"
#include "tests/support/gl_scene.h"
#include "tests/support/scene_state.h"

namespace {

using testsupport::Frame;
using testsupport::Rgb;
using testsupport::WindowPoint;

class ShaderLookTest : public testsupport::ShaderLookFixture {};

using testsupport::brightness;
using testsupport::kFaceBlack;

TEST_F(ShaderLookTest, EveryEffectCompilesAndLinks) {
    for (int effect = 0; effect < kEffectCount; ++effect) {
        const GLhandleARB program = effectPrograms[effect];
        GLint linked = 0;
        glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
        char log[4096] = "";
        glGetInfoLogARB(program, sizeof log, nullptr, log);
        EXPECT_EQ(linked, 1) << effectInfos[effect].name << ": " << log;

        GLhandleARB shaders[2] = {0, 0};
        GLsizei count = 0;
        glGetAttachedObjectsARB(program, 2, &count, shaders);
        ASSERT_EQ(count, 2);
        for (GLhandleARB shader : shaders) {
            GLint compiled = 0;
            glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
            glGetInfoLogARB(shader, sizeof log, nullptr, log);
            EXPECT_EQ(compiled, 1) << effectInfos[effect].name << ": " << log;
        }
    }
}

TEST_F(ShaderLookTest, FirstEffectShowsFlatCellsOfTheCellSizeWithTheCellsMeanColour) {
    // Red grows across the picture, green up it: no two picture pixels of a row are alike.
    showPicture(128, 64, [](int x, int y) {
        return Rgb{(unsigned char)(x * 2), (unsigned char)(y * 4), 60};
    });
    const Frame frame = draw(0, 8);  // 16 cells across

    const WindowPoint left = onFace(0, 0.5), right = onFace(1, 0.5);
    const double cellWidth = (right.x - left.x) / 16.0;
    std::vector<int> runs;
    std::vector<Rgb> colours;
    for (int x = left.x + 2; x < right.x - 2; ++x) {
        const Rgb c = frame.at(x, left.y);
        if (colours.empty() || c.r != colours.back().r || c.g != colours.back().g) {
            colours.push_back(c);
            runs.push_back(0);
        }
        ++runs.back();
    }
    ASSERT_EQ(runs.size(), 16u);
    for (size_t i = 1; i + 1 < runs.size(); ++i) {
        EXPECT_NEAR(runs[i], cellWidth, 1.01) << "cell " << i;
        // Cell i spans picture columns 8i to 8i + 7, whose mean red is 2 (8i + 3.5).
        EXPECT_NEAR(colours[i].r, 16 * int(i) + 7, 3) << "cell " << i;
    }
}

TEST_F(ShaderLookTest, SecondEffectLeavesDarkGapsBetweenRoundLeds) {
    showPicture(64, 32, [](int, int) { return Rgb{255, 255, 255}; });
    effectParameters.pixelRadius = 0.6f;
    effectParameters.tolerance = 0.3f;
    const Frame frame = draw(1, 4);  // 16 by 8 cells
    for (int j = 1; j < 7; ++j) {
        for (int i = 1; i < 15; ++i) {
            const WindowPoint centre = onFace((i + 0.5) / 16, (j + 0.5) / 8);
            const WindowPoint corner = onFace(i / 16.0, j / 8.0);
            const WindowPoint side = onFace(i / 16.0, (j + 0.5) / 8);
            EXPECT_GT(brightness(frame.at(centre.x, centre.y)), 240) << i << "," << j;
            EXPECT_LT(brightness(frame.at(corner.x, corner.y)), kFaceBlack + 5) << i << "," << j;
            EXPECT_LT(brightness(frame.at(side.x, side.y)), kFaceBlack + 5) << i << "," << j;
        }
    }
}

TEST_F(ShaderLookTest, LargerRadiusLightsMoreOfEachCell) {
    showPicture(64, 32, [](int, int) { return Rgb{255, 255, 255}; });
    effectParameters.tolerance = 0.0f;  // hard edges: the lit disc is exactly the radius
    auto litShare = [&](float radius) {
        effectParameters.pixelRadius = radius;
        const Frame frame = draw(1, 8);
        const WindowPoint a = onFace(0.25, 0.25), b = onFace(0.75, 0.75);
        int lit = 0, all = 0;
        for (int y = a.y; y < b.y; ++y) {
            for (int x = a.x; x < b.x; ++x, ++all) lit += brightness(frame.at(x, y)) > 128;
        }
        return double(lit) / all;
    };
    const double small = litShare(0.3), large = litShare(0.9);
    // A disc of radius r half cells covers pi r^2 / 4 of its cell.
    EXPECT_NEAR(small, 3.14159 * 0.09 / 4, 0.03);
    EXPECT_NEAR(large, 3.14159 * 0.81 / 4, 0.05);
}

TEST_F(ShaderLookTest, LedCentreIsBrighterThanItsFlatCellYetKeepsMidColoursUnclipped) {
    showPicture(64, 32, [](int, int) { return Rgb{120, 80, 50}; });
    const Frame flatFrame = draw(0, 4);
    const WindowPoint centre = onFace((7 + 0.5) / 16, (3 + 0.5) / 8);
    const Rgb flat = flatFrame.at(centre.x, centre.y);
    EXPECT_NEAR(flat.r, 120, 2);
    for (int effect = 1; effect < kEffectCount; ++effect) {
        SCOPED_TRACE(effectInfos[effect].name);
        effectParameters.luminanceSteps = 0;
        effectParameters.colorBoost = 0.0f;
        effectParameters.burntOutPercent = 0.0f;
        const Rgb led = draw(effect, 4).at(centre.x, centre.y);
        // Hot enough to make up for some of the gap, not so hot that the upper tones merge.
        EXPECT_GT(led.r, flat.r * 1.2);
        EXPECT_GT(led.g, flat.g * 1.2);
        EXPECT_LT(led.r, 240);  // a soft shoulder, not the full channel
        // The hue holds: the channels keep their proportions.
        EXPECT_NEAR(double(led.g) / led.r, 80.0 / 120.0, 0.05);
        EXPECT_NEAR(double(led.b) / led.r, 50.0 / 120.0, 0.05);
    }
}

TEST_F(ShaderLookTest, WhiteLedsReachFullAndBrighterPicturesGiveBrighterLeds) {
    int previous = 0;
    for (int grey : {40, 90, 140, 190, 255}) {
        SCOPED_TRACE(grey);
        showPicture(64, 32, [&](int, int) {
            return Rgb{(unsigned char)grey, (unsigned char)grey, (unsigned char)grey};
        });
        const Frame frame = draw(1, 4);
        const WindowPoint centre = onFace((7 + 0.5) / 16, (3 + 0.5) / 8);
        const int led = brightness(frame.at(centre.x, centre.y));
        EXPECT_GT(led, previous + 5);
        // Only white lights an LED to full (less its own spread of a few percent).
        if (grey < 255) {
            EXPECT_LT(led, 240);
        } else {
            EXPECT_GE(led, 245);
        }
        previous = led;
    }
}

TEST_F(ShaderLookTest, LedEffectsKeepGreyTonesApartUpCloseAndFromAfar) {
    std::mt19937 random(3);
    useNoise([&](int, int) {
        const auto v = (unsigned char)(random() & 0xff);
        return Rgb{v, v, v};
    });
    // At the starting parameters, with LEDs of 35 screen pixels and with cells of one.
    struct View {
        int width, height, pixelSize;
    };
    for (const View view : {View{64, 32, 4}, View{512, 256, 1}}) {
        for (int effect = 1; effect < kEffectCount; ++effect) {
            SCOPED_TRACE(std::string(effectInfos[effect].name) + " cell " +
                         std::to_string(view.pixelSize));
            double previous = 0;
            for (int grey : {64, 128, 192, 255}) {
                SCOPED_TRACE(grey);
                const auto v = (unsigned char)grey;
                showPicture(view.width, view.height, [v](int, int) { return Rgb{v, v, v}; });
                const Frame frame = draw(effect, view.pixelSize);
                double sum = 0;
                int count = 0, brightest = 0;
                const WindowPoint a = onFace(0.1, 0.1), b = onFace(0.9, 0.9);
                for (int y = a.y; y < b.y; ++y) {
                    for (int x = a.x; x < b.x; ++x, ++count) {
                        sum += brightness(frame.at(x, y));
                        brightest = std::max(brightest, brightness(frame.at(x, y)));
                    }
                }
                const double mean = sum / count;
                EXPECT_GT(mean, previous * 1.15);
                // White lights the LEDs to full.
                if (grey == 255 && view.pixelSize == 4) {
                    EXPECT_GE(brightest, 250);
                }
                previous = mean;
            }
        }
    }
}

TEST_F(ShaderLookTest, ToleranceSoftensTheLedIntoAHaloThatLeavesTheGapsDark) {
    showPicture(64, 32, [](int, int) { return Rgb{255, 255, 255}; });
    effectParameters.pixelRadius = 0.6f;
    // Just outside the disc (0.75 half cells from the centre) and at the middle of a side.
    const double nearDisc = (7 + 0.5 + 0.375) / 16, side = 8.0 / 16;
    auto lightAt = [&](float tolerance, double u) {
        effectParameters.tolerance = tolerance;
        const Frame frame = draw(1, 4);
        const WindowPoint at = onFace(u, (3 + 0.5) / 8);
        return brightness(frame.at(at.x, at.y));
    };
    EXPECT_LT(lightAt(0.0f, nearDisc), kFaceBlack + 3);
    const int soft = lightAt(0.3f, nearDisc);
    EXPECT_GT(soft, kFaceBlack + 6);
    EXPECT_GT(lightAt(0.8f, nearDisc), soft + 10);
    EXPECT_LT(lightAt(0.3f, side), kFaceBlack + 3);
    EXPECT_LT(lightAt(0.5f, side), kFaceBlack + 8);
}

TEST_F(ShaderLookTest, ThirdEffectQuantisesLuminanceIntoAtMostStepsPlusOneLevels) {
    // Grey rising one level every picture pixel across, so each cell of 4 has its own.
    showPicture(256, 128, [](int x, int) {
        const auto v = (unsigned char)(x);
        return Rgb{v, v, v};
    });
    auto levels = [&](int steps) {
        effectParameters.luminanceSteps = steps;
        const Frame frame = draw(2, 4);  // 64 cells across
        std::set<int> seen;
        for (int i = 0; i < 64; ++i) {
            const WindowPoint centre = onFace((i + 0.5) / 64, (16 + 0.5) / 32);
            seen.insert(brightness(frame.at(centre.x, centre.y)));
        }
        // Levels one apart are one level, rounded differently per channel.
        size_t count = 0;
        int last = -10;
        for (int level : seen) {
            count += level > last + 1;
            last = level;
        }
        return count;
    };
    EXPECT_GT(levels(0), 30u);
    EXPECT_LE(levels(4), 5u);
    EXPECT_GE(levels(4), 4u);
    EXPECT_LE(levels(16), 17u);
    EXPECT_GE(levels(16), 12u);
}

TEST_F(ShaderLookTest, ThirdEffectShiftsLuminanceUpOrDownByTheBoost) {
    showPicture(64, 32, [](int x, int) { return x < 32 ? Rgb{0, 0, 0} : Rgb{40, 120, 40}; });
    effectParameters.luminanceSteps = 0;
    auto ledsWith = [&](float boost) {
        effectParameters.luminanceBoost = boost;
        const Frame frame = draw(2, 4);
        const WindowPoint black = onFace((3 + 0.5) / 16, (3 + 0.5) / 8);
        const WindowPoint green = onFace((11 + 0.5) / 16, (3 + 0.5) / 8);
        return std::pair{frame.at(black.x, black.y), frame.at(green.x, green.y)};
    };
    const auto [blackPlain, greenPlain] = ledsWith(0.0f);
    EXPECT_LT(brightness(blackPlain), 3);
    const auto [blackDay, greenDay] = ledsWith(-0.25f);
    EXPECT_LT(greenDay.g, greenPlain.g - 20);
    EXPECT_GT(greenDay.g, greenDay.r + 40);  // darker, still green
    EXPECT_LT(brightness(blackDay), 3);
    const auto [blackNight, greenNight] = ledsWith(0.13f);
    EXPECT_GT(greenNight.g, greenPlain.g + 5);
    // A shift, not a scale: it lifts black too, to a grey of the boost's luminance.
    EXPECT_NEAR(brightness(blackNight), 0.13 * 255, 4);
    const auto [blackOff, greenOff] = ledsWith(-1.0f);
    EXPECT_LT(brightness(greenOff), 3);
}

// Share of the 32 by 16 cells whose LED centre is dark, and which ones.
std::set<int> darkCells(const Frame& frame, const std::function<WindowPoint(double, double)>& at) {
    std::set<int> dark;
    for (int j = 0; j < 16; ++j) {
        for (int i = 0; i < 32; ++i) {
            const WindowPoint p = at((i + 0.5) / 32, (j + 0.5) / 16);
            if (brightness(frame.at(p.x, p.y)) < 40) dark.insert(j * 32 + i);
        }
    }
    return dark;
}

TEST_F(ShaderLookTest, FourthEffectBurnsOutAboutTheGivenShareOfCellsAlwaysTheSameOnes) {
    showPicture(64, 32, [](int, int) { return Rgb{200, 200, 200}; });
    std::mt19937 random(7);
    useNoise([&](int, int) {
        const auto v = (unsigned char)(random() & 0xff);
        return Rgb{v, v, v};
    });
    for (float share : {0.0f, 0.2f, 0.5f}) {
        SCOPED_TRACE(share);
        effectParameters.burntOutPercent = share;
        const std::set<int> first = darkCells(draw(3, 2), onFace);
        EXPECT_NEAR(first.size() / 512.0, share, 0.05);
        camera.turnHorizontal(2);  // a new frame from a slightly other angle: same cells
        const std::set<int> second = darkCells(draw(3, 2), onFace);
        camera.turnHorizontal(-2);
        EXPECT_EQ(first, second);
    }
    // A black noise picture (none loaded) burns nothing out, whatever the share.
    useNoise([](int, int) { return Rgb{0, 0, 0}; });
    effectParameters.burntOutPercent = 0.5f;
    EXPECT_TRUE(darkCells(draw(3, 2), onFace).empty());
}

TEST_F(ShaderLookTest, FourthEffectSaturatesAndBrightensMoreTheMoreColourBoost) {
    showPicture(64, 32, [](int, int) { return Rgb{150, 100, 100}; });
    useNoise([](int, int) { return Rgb{255, 255, 255}; });
    effectParameters.burntOutPercent = 0.0f;
    effectParameters.luminanceSteps = 0;
    auto ledWith = [&](float boost) {
        effectParameters.colorBoost = boost;
        const Frame frame = draw(3, 4);
        const WindowPoint centre = onFace((7 + 0.5) / 16, (3 + 0.5) / 8);
        return frame.at(centre.x, centre.y);
    };
    Rgb previous = ledWith(0.0f);
    // The starting value already shows; every step up saturates further and brightens the red.
    for (float boost : {0.03f, 0.25f, 1.0f}) {
        SCOPED_TRACE(boost);
        const Rgb led = ledWith(boost);
        EXPECT_GT(led.r - led.g, previous.r - previous.g + 8);
        EXPECT_GT(led.r, previous.r);
        EXPECT_GT(led.g, 60);  // still a red, not a flat primary
        EXPECT_LT(led.r, 255);
        previous = led;
    }
}

TEST_F(ShaderLookTest, CellsSmallerThanScreenPixelsShowTheLedsMeanLightInsteadOfMoire) {
    // The same white picture with large cells, and with 256 cells across some 560 window
    // pixels, where a sharp LED grid would alias into bands.
    showPicture(512, 256, [](int, int) { return Rgb{255, 255, 255}; });
    effectParameters.pixelRadius = 0.6f;
    effectParameters.tolerance = 0.3f;
    auto meanAndSpread = [&](int pixelSize, double from, double to) {
        const Frame frame = draw(1, pixelSize);
        const WindowPoint a = onFace(from, from), b = onFace(to, to);
        int low = 255, high = 0;
        double sum = 0;
        for (int y = a.y; y < b.y; ++y) {
            for (int x = a.x; x < b.x; ++x) {
                const int level = brightness(frame.at(x, y));
                low = std::min(low, level);
                high = std::max(high, level);
                sum += testsupport::lightOf(frame.at(x, y));
            }
        }
        return std::pair{sum / ((b.x - a.x) * (b.y - a.y)), high - low};
    };
    // Whole cells only: 8 by 4 of the 16 by 8 cells of 32 picture pixels.
    const auto [nearMean, nearSpread] = meanAndSpread(32, 0.25, 0.75);
    EXPECT_GT(nearSpread, 200);  // the LEDs and their gaps, both in view
    const auto [farMean, farSpread] = meanAndSpread(2, 0.1, 0.9);
    EXPECT_LT(farSpread, 30);
    // Seen from afar the wall gives the light its LEDs and gaps together give up close.
    EXPECT_NEAR(farMean, nearMean, nearMean * 0.08);
}

}  // namespace
