// The frame timer of the chosen picture in a real GLUT event loop: an animation's one texture
// takes its frames at their delays while it is chosen, and a still picture asks for no redraws.
#include "app/core/run_state.h"
#include "app/playback/content_playback.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "app/core/effect_keys.h"
#include "app/core/picture_catalogue.h"
#include "app/playback/picture_texture.h"
#include "frames/picture_source.h"
#include "tests/support/gl_window.h"
#include "tests/support/redisplay_count.h"

namespace {

constexpr int kSide = 16;

// Runs GLUT's event handling for the given time.
void runEvents(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) glutMainLoopEvent();
}

PictureFrame flatFrame(std::uint8_t red, std::uint8_t blue, int delayMs) {
    PictureFrame frame{allocatePixelBuffer(kSide * kSide * 3), delayMs};
    for (int i = 0; i < kSide * kSide; ++i) {
        frame.pixels[3 * i] = red;
        frame.pixels[3 * i + 1] = 0;
        frame.pixels[3 * i + 2] = blue;
    }
    return frame;
}

Content userPicture(std::vector<PictureFrame> frames) {
    Picture picture{kSide, kSide, std::move(frames)};
    return {"test", std::make_unique<PictureSource>(std::move(picture))};
}

// The red value of the texture's first texel as GL holds it now.
int textureRed(GLuint texture) {
    std::vector<std::uint8_t> texels(kSide * kSide * 3);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels[0];
}

}  // namespace

TEST(PictureAnimationTest, FramesAdvanceOnlyWhileAnAnimatedPictureIsChosen) {
    testsupport::openGlWindow();
    std::vector<Content> users;
    std::vector<PictureFrame> frames;
    frames.push_back(flatFrame(255, 0, 40));
    frames.push_back(flatFrame(0, 255, 40));
    users.push_back(userPicture(std::move(frames)));
    frames.clear();
    frames.push_back(flatFrame(255, 0, 0));
    users.push_back(userPicture(std::move(frames)));
    addContentTextures(pictureCatalogue, users);
    ASSERT_EQ(pictureCatalogue.contents.size(), 2u);
    const GLuint animatedTexture = effectTextures(pictureCatalogue, 0).picture;
    EXPECT_EQ(textureRed(animatedTexture), 255);

    effectParameters.picture = 0;
    const int requestsBefore = testsupport::redisplayRequests();
    followChosenPicture();
    runEvents(std::chrono::milliseconds(400));
    // Ten frames in 400 ms at 40 ms each; a loaded machine may run late, never early.
    const int shown = testsupport::redisplayRequests() - requestsBefore;
    EXPECT_GE(shown, 2);
    EXPECT_LE(shown, 10);
    // One texture whatever the frame, holding the frame the source has due.
    EXPECT_EQ(effectTextures(pictureCatalogue, 0).picture, animatedTexture);
    const int redShown = pictureCatalogue.contents[0].uploadedSerial == 1 ? 255 : 0;
    EXPECT_EQ(textureRed(animatedTexture), redShown);

    effectParameters.picture = 1;
    followChosenPicture();
    const std::uint64_t frameLeft = pictureCatalogue.contents[0].uploadedSerial;
    const int requestsStill = testsupport::redisplayRequests();
    runEvents(std::chrono::milliseconds(200));
    EXPECT_EQ(testsupport::redisplayRequests(), requestsStill);
    EXPECT_EQ(pictureCatalogue.contents[0].uploadedSerial, frameLeft);

    showBuiltInPictures(pictureCatalogue);
    effectParameters.picture = 0;
    followChosenPicture();
}
