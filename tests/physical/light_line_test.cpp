#include "physical/light_line.h"

#include <gtest/gtest.h>

// A wall of 62.9 m², about a 14 by 48 ft bulletin: the guideline measures it at 10 sqrt(62.9)
// = 79.31 m, where any wall gives mean / 100 lux.
constexpr double kArea = 62.9;

TEST(LightLineTest, AWhitePictureAtNightGivesTheWallsPeakAndItsPowerScaledToTheDay) {
    // 300 nits: 3 lux = 0.279 fc; 600 W/m² x 62.9 m² x 300 / 6000 = 1887 W.
    const LightFigures night = lightFigures(LightSettings{}, LightView::night, 1.0, kArea);
    EXPECT_EQ(lightLine(LightView::night, night),
              "light night: mean 300 nits, peak 300 nits; contrast 2357:1 at 10 lux; "
              "0.28 fc at 79.3 m; 1.9 kW");
    // By day, full white draws the full 600 W/m²: 37.7 kW; 60 lux is 5.57 fc.
    const LightFigures day = lightFigures(LightSettings{}, LightView::day, 1.0, kArea);
    EXPECT_EQ(lightLine(LightView::day, day),
              "light day: mean 6000 nits, peak 6000 nits; contrast 12.8:1 at 40000 lux; "
              "5.57 fc at 79.3 m; 37.7 kW");
}

TEST(LightLineTest, AHalfLitPictureHalvesMeanIlluminanceAndPowerButNotPeakOrContrast) {
    LightSettings settings;
    settings.peakNitsDay = 5000;
    settings.ambientLuxDay = 100000;
    settings.wattsPerSquareMetre = 400;
    // 2500 nits: 25 lux = 2.32 fc; 400 x 62.9 / 2 = 12.58 kW; 4% of 100000 lux over pi is
    // 1273.2 nits, so (5000 + 1273.2) / 1273.2 = 4.9:1.
    const LightFigures day = lightFigures(settings, LightView::day, 0.5, kArea);
    EXPECT_EQ(lightLine(LightView::day, day),
              "light day: mean 2500 nits, peak 5000 nits; contrast 4.9:1 at 100000 lux; "
              "2.32 fc at 79.3 m; 12.6 kW");
    // At night the power still scales from the day's peak: 150 / 5000 of 25.16 kW.
    const LightFigures night = lightFigures(settings, LightView::night, 0.5, kArea);
    EXPECT_EQ(lightLine(LightView::night, night),
              "light night: mean 150 nits, peak 300 nits; contrast 2357:1 at 10 lux; "
              "0.14 fc at 79.3 m; 0.8 kW");
}
