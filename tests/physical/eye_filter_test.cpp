#include "physical/eye_filter.h"

#include <gtest/gtest.h>

#include "physical/viewing_geometry.h"

TEST(EyeFilterTest, KeepsWhatTheEyeResolvesAndStopsWhatItDoesNot) {
    const double acuity = kEyeViewPixelsPerAcuity;      // pixels an acuity angle
    EXPECT_NEAR(eyeFilterResponse(1e9), 1.0, 1e-6);     // a flat field keeps its light
    EXPECT_GT(eyeFilterResponse(1.25 * acuity), 0.95);  // LEDs at 1.25 acuity angles
    EXPECT_LT(eyeFilterResponse(0.8 * acuity), 0.01);   // LEDs at 0.8: their mean alone
    EXPECT_LT(eyeFilterResponse(0.5 * acuity), 0.001);
}
