#include "physical/units.h"

#include <gtest/gtest.h>

TEST(UnitsTest, FootCandlesAndSquareFeetFollowTheInternationalFoot) {
    EXPECT_NEAR(footCandlesFromLux(10.763910), 1.0, 1e-9);
    EXPECT_NEAR(squareFeetFromSquareMetres(1.0), 10.7639104, 1e-6);
    EXPECT_NEAR(feetFromMetres(76.2), 250.0, 1e-9);
}

TEST(UnitsTest, OneArcminuteIsASixtiethOfADegree) {
    EXPECT_NEAR(radiansFromArcminutes(1.0), 2.908882e-4, 1e-9);
    EXPECT_NEAR(arcminutesFromRadians(radiansFromDegrees(1.0)), 60.0, 1e-9);
}
