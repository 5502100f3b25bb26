#include "physical/adapted_eye.h"

#include <gtest/gtest.h>

#include <utility>

#include "physical/photometry.h"

TEST(AdaptedEyeTest, TheEyeAdaptsHalfToTheSurroundingsAndHalfToTheWall) {
    // A mid-grey card in 40000 lux: 0.18 x 40000 / pi = 2291.8 nits; at 10 lux 0.5730.
    EXPECT_NEAR(surroundLuminanceNits(40000), 2291.83, 0.01);
    EXPECT_NEAR(adaptationLuminanceNits(40000, 6000), 3708.2, 0.1);  // sqrt(2291.8 x 6000)
    EXPECT_NEAR(adaptationLuminanceNits(10, 300), 13.111, 0.001);
    // At the adaptation luminance over the key the curve gives half of white.
    EXPECT_NEAR(displayLightFromLuminance(100 / kToneKey, 100), 0.5, 1e-12);
    // Dimmer than 1.25 nits the key falls: at 0.27 nits 1.03 - 2 / (2 + log10 1.27) = 0.0794.
    EXPECT_NEAR(toneKey(0.27), 0.0794, 0.0001);
}

TEST(AdaptedEyeTest, AtNoonA1500NitWallIsDimmerThanAGreyCardInTheSunA6000NitOneIsNot) {
    auto wallAndCard = [](double peakNits) {
        const double wall = peakNits + reflectedLuminanceNits(40000);
        const double adaptation = adaptationLuminanceNits(40000, wall);
        const double white = whiteLuminanceNits(40000, peakNits);
        return std::pair{
            displayLightFromLuminance(wall, adaptation, white),
            displayLightFromLuminance(surroundLuminanceNits(40000), adaptation, white)};
    };
    const auto [indoorWall, cardBesideIt] = wallAndCard(1500);
    EXPECT_LT(indoorWall, cardBesideIt);
    // 6509 nits adapted to 3862, white 12732 nits: Ls 0.303, Lw 0.593, Ld 0.433 (level 176).
    const auto [outdoorWall, card] = wallAndCard(6000);
    EXPECT_NEAR(outdoorWall, 0.433, 0.001);
    EXPECT_GT(outdoorWall, 3 * card);
}

TEST(AdaptedEyeTest, AtNightA300NitWallKeepsItsTonesUpToWhiteAndAStreetStaysDark) {
    const double adaptation = adaptationLuminanceNits(10, 300);
    const double white = whiteLuminanceNits(10, 300);
    EXPECT_EQ(white, 300);  // the wall outshines a white wall in 10 lux, 3.2 nits
    EXPECT_NEAR(displayLightFromLuminance(300, adaptation, white), 1.0, 1e-12);
    const double nearWhite = displayLightFromLuminance(0.7913 * 300, adaptation, white);  // 230
    const double grey = displayLightFromLuminance(0.2159 * 300, adaptation, white);       // 128
    const double street = displayLightFromLuminance(0.2 * 10 / 3.14159, adaptation, white);
    EXPECT_LT(nearWhite, 0.95);
    EXPECT_GT(nearWhite, 1.5 * grey);
    EXPECT_LT(street, 0.01);
    // A black picture: only the face's reflection, 0.127 nits, in a street adapted to 0.270.
    const double black = reflectedLuminanceNits(10);
    const double darkAdaptation = adaptationLuminanceNits(10, black);
    EXPECT_LT(displayLightFromLuminance(black, darkAdaptation, white), 0.04);
    // The same wall at 6000 nits outshines everything the eye is adapted to.
    EXPECT_GT(displayLightFromLuminance(6000, adaptationLuminanceNits(10, 6000)), 0.94);
}
