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
}

TEST(AdaptedEyeTest, AtNoonA1500NitWallIsDimmerThanAGreyCardInTheSunA6000NitOneIsNot) {
    auto wallAndCard = [](double peakNits) {
        const double wall = peakNits + reflectedLuminanceNits(40000);
        const double adaptation = adaptationLuminanceNits(40000, wall);
        return std::pair{displayLightFromLuminance(wall, adaptation),
                         displayLightFromLuminance(surroundLuminanceNits(40000), adaptation)};
    };
    const auto [indoorWall, cardBesideIt] = wallAndCard(1500);
    EXPECT_LT(indoorWall, cardBesideIt);
    const auto [outdoorWall, card] = wallAndCard(6000);
    EXPECT_GT(outdoorWall, 2 * card);
}

TEST(AdaptedEyeTest, AtNightA300NitWallKeepsItsTonesAndAStreetStaysDark) {
    const double adaptation = adaptationLuminanceNits(10, 300);
    const double white = displayLightFromLuminance(300, adaptation);
    const double grey = displayLightFromLuminance(0.2159 * 300, adaptation);  // level 128
    const double street = displayLightFromLuminance(0.2 * 10 / 3.14159, adaptation);
    EXPECT_GT(white, 0.75);
    EXPECT_LT(white, 0.9);  // not burnt out
    EXPECT_GT(white, 1.5 * grey);
    EXPECT_LT(street, 0.01);
    // The same wall at 6000 nits outshines everything the eye is adapted to.
    EXPECT_GT(displayLightFromLuminance(6000, adaptationLuminanceNits(10, 6000)), 0.94);
}
