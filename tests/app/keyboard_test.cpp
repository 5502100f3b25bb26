// The keyboard callback in a real GLUT window: it hands each key to the key table with the
// program's own state and asks for a redraw after every key. The key table itself is tested
// without a window.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <gtest/gtest.h>

#include <string>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/core/starting_view.h"
#include "camera/camera.h"
#include "effects/effect_programs.h"
#include "tests/support/gl_window.h"
#include "tests/support/redisplay_count.h"

namespace {

class KeyboardTest : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        glutDisplayFunc([] {});
        for (int i = 0; i < kEffectCount; ++i) effectPrograms[i] = GLhandleARB(101 + i);
        pictureCatalogue.pictures[0] = {2, 256, 256};
        effectParameters = kStartingParameters;
        effectParameters.program = effectPrograms[0];
        effectParameters.pixelSize = 6;
        placeCamera(camera, kStartingView);
    }

    // Types the keys into the callback and returns what they printed.
    static std::string type(const std::string& keys) {
        testing::internal::CaptureStdout();
        for (char key : keys) keyboard(static_cast<unsigned char>(key), 0, 0);
        return testing::internal::GetCapturedStdout();
    }
};

// Redraw requests are counted where they are made, so the count does not hang on when the
// window happens to be mapped or exposed.
TEST_F(KeyboardTest, EveryKeyRequestsARedraw) {
    for (unsigned char key : {'W', '=', 'l', '1', '1', 'q'}) {
        const int before = testsupport::redisplayRequests();
        type(std::string(1, char(key)));
        EXPECT_GE(testsupport::redisplayRequests() - before, 1) << "key " << key;
    }
}

TEST_F(KeyboardTest, KeysActOnTheProgramsOwnState) {
    EXPECT_EQ(type("="), "pixelSize = 8\n");
    EXPECT_EQ(effectParameters.pixelSize, 8);
    type("d");
    EXPECT_NEAR(camera.getPosition().x, 0.5f, 1e-6);
}

}  // namespace
