// Catalogue paths are written with backslashes; this platform opens them with slashes.
#include "files/native_path.h"

#include <gtest/gtest.h>

namespace {

TEST(NativePathTest, BackslashesBecomeSlashes) {
    EXPECT_EQ(nativePath(".\\Textures\\flagcross.bmp"), "./Textures/flagcross.bmp");
    EXPECT_EQ(nativePath("a\\\\b"), "a//b");
}

TEST(NativePathTest, OtherPathsStayAsTheyAre) {
    EXPECT_EQ(nativePath("./Models/billboard.obj"), "./Models/billboard.obj");
    EXPECT_EQ(nativePath(""), "");
    EXPECT_EQ(nativePath(nullptr), "");
}

}  // namespace
