#include "physical/glare_spread.h"

#include <gtest/gtest.h>

TEST(GlareSpreadTest, TheCieEquationAtOneAndTenDegrees) {
    // Age factor 1 + (40 / 62.5)^4 = 1.16777; at 1 degree 10 + 5.05 x 1.16777 + 0.00125,
    // at 10 degrees 0.01 + 0.055 x 1.16777 + 0.00125.
    EXPECT_NEAR(glareSpreadPerSteradian(1.0), 15.8985, 1e-4);
    EXPECT_NEAR(glareSpreadPerSteradian(10.0), 0.075477, 1e-6);
}

TEST(GlareSpreadTest, TheLevelsFitTheEquationWithinAThirdFromFourPixelsToMostOfAWindow) {
    // The program's window (45 degrees over 700 pixels) and a wide one.
    for (double degreesPerPixel : {45.0 / 700, 90.0 / 1920}) {
        SCOPED_TRACE(degreesPerPixel);
        const GlareFit fit = fitGlareSpread(degreesPerPixel, kGlareFitPixels);
        for (double weight : fit.weights) EXPECT_GE(weight, 0.0);
        for (double pixels = 4; pixels <= 400; pixels *= 1.25) {
            const double ratio = fittedGlare(fit, pixels) / exactGlare(degreesPerPixel, pixels);
            EXPECT_NEAR(ratio, 1.0, 0.33) << pixels << " pixels";
        }
    }
    EXPECT_NEAR(glareLevelPixels(0), 2.0, 1e-9);  // sqrt(1.25 + 0 + 2.75)
    EXPECT_NEAR(glareLevelPixels(1), 6.0, 1e-9);  // sqrt(21.25 + 3 x 4 + 2.75)
}
