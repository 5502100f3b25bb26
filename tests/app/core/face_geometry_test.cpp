// The normal view's face size from the picture's proportions, without a window.
#include "app/core/face_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(FaceGeometryTest, HalfHeightFollowsTheWholeNumberProportion) {
    EXPECT_FLOAT_EQ(normalFaceHalfHeight({2, 512, 256}), 10.0f);
    EXPECT_FLOAT_EQ(normalFaceHalfHeight({2, 300, 200}), 20.0f);
    EXPECT_NEAR(normalFaceHalfHeight({2, 768, 256}), 6.6667f, 1e-4);
    EXPECT_FLOAT_EQ(normalFaceHalfHeight({2, 256, 256}), 20.0f);
}

TEST(FaceGeometryTest, NarrowAndUnloadedPicturesGetASquareFace) {
    EXPECT_FLOAT_EQ(normalFaceHalfHeight({2, 200, 300}), 20.0f);
    EXPECT_FLOAT_EQ(normalFaceHalfHeight({2, 0, 0}), 20.0f);
    EXPECT_FLOAT_EQ(normalFaceHalfHeight({2, 5, 0}), 20.0f);
}

}  // namespace
