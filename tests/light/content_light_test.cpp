// The content's light as read back from a real texture.
#include "light/content_light.h"

#include <gtest/gtest.h>

#include "tests/support/gl_scene.h"
#include "tests/support/gl_window.h"

namespace {

using testsupport::Rgb;

TEST(ContentLightTest, AHalfWhitePictureGivesHalfTheLightOfWhiteNotOfItsMeanLevel) {
    testsupport::openGlWindow();
    // White and black columns, one pixel each: every mip level above the first is grey 128.
    const GLuint striped = testsupport::makeTexture(64, 32, [](int x, int) {
        return x % 2 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    });
    const GLuint white = testsupport::makeFlatTexture({255, 255, 255});
    EXPECT_NEAR(meanRelativeLuminanceOfTexture(striped), 0.5, 1e-9);
    EXPECT_NEAR(meanRelativeLuminanceOfTexture(white), 1.0, 1e-9);
    EXPECT_EQ(meanRelativeLuminanceOfTexture(0), 0.0);
    GLuint textures[2] = {striped, white};
    glDeleteTextures(2, textures);
}

}  // namespace
