#include "physical/eye_filter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "physical/viewing_geometry.h"

TEST(EyeFilterTest, KeepsWhatTheEyeResolvesAndStopsWhatItDoesNot) {
    const double acuity = kEyeViewPixelsPerAcuity;  // window pixels an acuity angle
    for (int supersampling = 1; supersampling <= kEyeViewSupersampling; ++supersampling) {
        SCOPED_TRACE(supersampling);
        const EyeFilter filter = eyeFilter(supersampling);
        EXPECT_NEAR(eyeFilterResponse(filter, 1e9), 1.0, 1e-6);     // a flat field keeps its light
        EXPECT_GT(eyeFilterResponse(filter, 1.25 * acuity), 0.95);  // LEDs at 1.25 acuity angles
        EXPECT_LT(eyeFilterResponse(filter, 0.8 * acuity), 0.01);   // LEDs at 0.8: their mean alone
        EXPECT_LT(eyeFilterResponse(filter, 0.5 * acuity), 0.001);
    }
    // Finer than two window pixels, where only the finer drawing does not fold it back.
    EXPECT_LT(eyeFilterResponse(eyeFilter(kEyeViewSupersampling), 0.3 * acuity), 0.001);
}

TEST(EyeFilterTest, ReadsMixingTwoPixelsGiveWhatTheTapsGive) {
    // A row of drawn pixels of uneven light around a window pixel's centre, read as a texture
    // read mixes two neighbours, against the taps taken one by one.
    for (int supersampling = 1; supersampling <= kEyeViewSupersampling; ++supersampling) {
        SCOPED_TRACE(supersampling);
        const EyeFilter filter = eyeFilter(supersampling);
        const double centre = 100.5 - filter.firstOffset;  // drawn pixel i centred at i + 0.5
        auto light = [](double at) { return 0.5 + 0.4 * std::sin(at * 1.7) * std::cos(at * 0.31); };
        auto mixed = [&](double at) {  // at, in pixel units: read between the pixels around it
            const double below = std::floor(at - 0.5);
            const double share = at - 0.5 - below;
            return (1 - share) * light(below + 0.5) + share * light(below + 1.5);
        };
        double byTaps = 0, byReads = 0;
        for (int i = 0; i < filter.taps; ++i) {
            const double offset = filter.firstOffset + i;
            byTaps += filter.weights[i] * (light(centre + offset) + light(centre - offset));
        }
        const EyeFilterReads reads = eyeFilterReads(filter);
        for (int i = 0; i < reads.reads; ++i)
            byReads += reads.weights[i] *
                       (mixed(centre + reads.offsets[i]) + mixed(centre - reads.offsets[i]));
        EXPECT_LE(reads.reads, (filter.taps + 1) / 2);
        EXPECT_NEAR(byReads, byTaps, 1e-6);
    }
}
