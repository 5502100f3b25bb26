// The frame timer of animated pictures in a real GLUT event loop: frames advance at their
// delays while an animated picture is chosen, and a still picture asks for no redraws.
#include "app/picture_animation.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>

#include "app/effect_keys.h"
#include "app/picture_catalogue.h"
#include "tests/support/gl_scene.h"
#include "tests/support/gl_window.h"
#include "tests/support/redisplay_count.h"

namespace {

// Runs GLUT's event handling for the given time.
void runEvents(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) glutMainLoopEvent();
}

}  // namespace

TEST(PictureAnimationTest, FramesAdvanceOnlyWhileAnAnimatedPictureIsChosen) {
    testsupport::openGlWindow();
    UserPictureTextures animated;
    animated.info = {2, 16, 16};
    animated.frames = {testsupport::makeFlatTexture({255, 0, 0}),
                       testsupport::makeFlatTexture({0, 0, 255})};
    animated.delaysMs = {40, 40};
    UserPictureTextures still = animated;
    still.frames.resize(1);
    still.delaysMs.resize(1);
    pictureCatalogue.userPictures = {animated, still};

    effectParameters.picture = 0;
    const int requestsBefore = testsupport::redisplayRequests();
    followChosenPicture();
    runEvents(std::chrono::milliseconds(400));
    // Ten frames in 400 ms at 40 ms each; a loaded machine may run late, never early.
    const int shown = testsupport::redisplayRequests() - requestsBefore;
    EXPECT_GE(shown, 2);
    EXPECT_LE(shown, 10);
    EXPECT_EQ(effectTextures(pictureCatalogue, 0).picture,
              animated.frames[pictureCatalogue.userPictures[0].frame]);

    effectParameters.picture = 1;
    followChosenPicture();
    const int frameLeft = pictureCatalogue.userPictures[0].frame;
    const int requestsStill = testsupport::redisplayRequests();
    runEvents(std::chrono::milliseconds(200));
    EXPECT_EQ(testsupport::redisplayRequests(), requestsStill);
    EXPECT_EQ(pictureCatalogue.userPictures[0].frame, frameLeft);

    pictureCatalogue.userPictures.clear();
    effectParameters.picture = 0;
    followChosenPicture();
}
