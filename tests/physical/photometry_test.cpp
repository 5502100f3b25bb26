#include "physical/photometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "physical/units.h"

TEST(PhotometryTest, SrgbLevelsDecodeToLinearLightOnBothSidesOfTheToe) {
    EXPECT_DOUBLE_EQ(linearFromSrgb(0.0), 0.0);
    EXPECT_NEAR(linearFromSrgb(1.0), 1.0, 1e-12);
    EXPECT_NEAR(linearFromSrgb(0.04045), 0.0031308, 1e-7);  // where toe and power meet
    EXPECT_NEAR(linearFromSrgb(0.5), 0.21404, 1e-5);        // (0.555 / 1.055)^2.4
}

TEST(PhotometryTest, MeanLuminanceOfPixelsWeighsTheChannelsByTheirLight) {
    auto mean = [](std::vector<std::uint8_t> rgb) { return meanRelativeLuminance(rgb); };
    EXPECT_NEAR(mean({255, 255, 255}), 1.0, 1e-12);
    EXPECT_NEAR(mean({255, 255, 255, 0, 0, 0}), 0.5, 1e-12);  // half lit
    EXPECT_NEAR(mean({255, 0, 0, 0, 255, 0, 0, 0, 255}), 1.0 / 3, 1e-12);
    EXPECT_NEAR(mean({0, 255, 0}), 0.7152, 1e-12);
    // Grey 128 is ((128 / 255 + 0.055) / 1.055)^2.4 of white's light, not half.
    EXPECT_NEAR(mean({128, 128, 128}), 0.21586, 1e-5);
    EXPECT_EQ(mean({}), 0.0);
    EXPECT_NEAR(luminanceNits(0.5, 6000), 3000, 1e-9);
}

TEST(PhotometryTest, SunlightGreysTheFaceAndSetsTheContrast) {
    // 4% of 40000 lux spread over pi steradians: 1600 / pi nits; at night 0.4 / pi.
    EXPECT_NEAR(reflectedLuminanceNits(40000), 509.296, 1e-3);
    EXPECT_NEAR(reflectedLuminanceNits(10), 0.127324, 1e-6);
    EXPECT_NEAR(contrastRatio(6000, reflectedLuminanceNits(40000)), 12.781, 1e-3);
    EXPECT_NEAR(contrastRatio(300, reflectedLuminanceNits(10)), 2357.2, 0.1);
}

TEST(PhotometryTest, TheGuidelineMeasuresABulletinAt259FeetWhereItsLightIsAHundredthOfItsNits) {
    // A 14 by 48 ft bulletin: sqrt(100 x 672) = 259.23 ft.
    const double area = 672.0 / squareFeetFromSquareMetres(1.0);
    const double distance = measurementDistanceMetres(area);
    EXPECT_NEAR(feetFromMetres(distance), 259.230, 1e-3);
    // 1 m² of 1000 nits seen from 10 m is 1000 cd over 100 m²; at the guideline's distance any
    // wall gives mean / 100 lux, so 300 nits give 3 lux, 0.279 fc.
    EXPECT_NEAR(illuminanceLux(1000, 1, 10), 10.0, 1e-12);
    EXPECT_NEAR(footCandlesFromLux(illuminanceLux(300, area, distance)), 0.27871, 1e-5);
}

TEST(PhotometryTest, PowerFollowsTheMeanLightFromFullWhiteAtTheDayBrightness) {
    EXPECT_NEAR(powerWatts(600, 62.9, 6000, 6000), 37740, 1e-9);
    EXPECT_NEAR(powerWatts(600, 62.9, 300, 6000), 1887, 1e-9);
    EXPECT_EQ(powerWatts(600, 62.9, 0, 6000), 0.0);
}
