// Vector arithmetic: operand order of the cross product, length and direction.
#include "camera/vector3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectVector(Vector3 v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(Vector3Test, CrossProductIsRightHandedAndOrderMatters) {
    expectVector(cross({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
    expectVector(cross({0, 1, 0}, {1, 0, 0}), 0, 0, -1);
}

TEST(Vector3Test, LookingDownMinusZWithYUpCrossesToPlusX) {
    expectVector(cross({0, 0, -1}, {0, 1, 0}), 1, 0, 0);
}

TEST(Vector3Test, SumDifferenceAndQuotientWorkComponentWise) {
    expectVector(Vector3(1, 2, 3) + Vector3(4, -5, 6), 5, -3, 9);
    expectVector(Vector3(1, 2, 3) - Vector3(4, -5, 6), -3, 7, -3);
    expectVector(Vector3(1, 2, 3) / 2.0f, 0.5f, 1, 1.5f);
}

TEST(Vector3Test, MagnitudeOfThreeFourZeroIsFive) {
    EXPECT_EQ(magnitude({3, 4, 0}), 5.0f);
    EXPECT_EQ(magnitude({0, 0, -60}), 60.0f);
}

TEST(Vector3Test, MagnitudeRoundsTheDoubleRootToSinglePrecision) {
    const float sum = 0.0f * 0.0f + 5.0f * 5.0f + 60.0f * 60.0f;
    EXPECT_EQ(magnitude({0, -5, -60}), float(std::sqrt(double(sum))));
}

TEST(Vector3Test, NormalizeGivesTheUnitDirection) {
    expectVector(normalize({0, 0, -60}), 0, 0, -1);
    const Vector3 n = normalize({1, 2, 2});
    expectVector(n, 1.0f / 3, 2.0f / 3, 2.0f / 3);
}

TEST(Vector3Test, NormalizeOfZeroLengthStaysZeroInsteadOfNan) {
    const Vector3 n = normalize(vZero);
    expectVector(n, 0, 0, 0);
    EXPECT_FALSE(std::isnan(n.x) || std::isnan(n.y) || std::isnan(n.z));
}

}  // namespace
