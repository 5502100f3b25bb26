// loadScene in a real GL context: from the repository's own data, and from a scratch folder
// whose pictures have chosen sizes or are missing.
#include "app/scene_load.h"

#include <GL/glew.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "camera/camera.h"
#include "effects/effect_programs.h"
#include "files/replacement_file.h"
#include "pictures/bmp_encoder.h"
#include "tests/support/gl_window.h"

namespace {

namespace fs = std::filesystem;

class SceneLoadTest : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        pictureCatalogue = PictureCatalogue{};
        effectParameters = kStartingParameters;
        for (int i = 0; i < kEffectCount; ++i) effectPrograms[i] = GLhandleARB(301 + i);
        original = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(original);
        if (!scratch.empty()) fs::remove_all(scratch);
    }

    // Makes a scratch working folder with a Textures folder in it and moves there.
    void enterScratchFolder() {
        scratch = fs::temp_directory_path() / ("glimmer-scene-" + std::to_string(getpid()));
        fs::create_directories(scratch / "Textures");
        fs::current_path(scratch);
    }

    static void writePicture(const char* name, int width, int height) {
        std::vector<std::uint8_t> rgb(size_t(width) * height * 3, 90);
        const fs::path path = fs::path("Textures") / name;
        writeFileBytes(path.c_str(), encodeBmp24(width, height, rgb.data()));
    }

    static std::string loadCapturingOutput(const PictureFiles& pictures = kBuiltInPictureFiles) {
        testing::internal::CaptureStdout();
        loadScene(pictures);
        return testing::internal::GetCapturedStdout();
    }

    fs::path original;
    fs::path scratch;
};

TEST_F(SceneLoadTest, RepositoryDataFillsEverySlotAndPrintsTheFirstEffect) {
    const std::string output = loadCapturingOutput();
    for (int slot = 0; slot < kTextureSlotCount; ++slot)
        EXPECT_NE(pictureCatalogue.textureIds[slot], 0u) << "slot " << slot;
    EXPECT_EQ(pictureCatalogue.textureIds[13], pictureCatalogue.textureIds[5]);
    for (int i = 0; i < kPictureCount; ++i) {
        EXPECT_GT(pictureCatalogue.pictures[i].width, 0) << "picture " << i;
        EXPECT_GE(pictureCatalogue.pictures[i].step, 2) << "picture " << i;
    }
    EXPECT_EQ(output, "Billboard I\npixelSize = " +
                          std::to_string(3 * pictureCatalogue.pictures[0].step) + "\n\n");
    EXPECT_GE(billboardModel, 0);
}

TEST_F(SceneLoadTest, SizesStepsAndTheStartingCellSizeComeFromThePictures) {
    enterScratchFolder();
    writePicture("flagcross.bmp", 81, 27);
    writePicture("qelt.bmp", 7, 5);
    writePicture("marrowby.bmp", 300, 200);
    writePicture("neonOff.bmp", 12, 6);
    writePicture("neonOn.bmp", 12, 6);
    writePicture("noise.bmp", 8, 8);
    const std::string output = loadCapturingOutput();
    EXPECT_EQ(output, "Billboard I\npixelSize = 9\n\n");
    EXPECT_EQ(pictureCatalogue.pictures[0].step, 3);
    EXPECT_EQ(pictureCatalogue.pictures[1].step, 5);
    EXPECT_EQ(pictureCatalogue.pictures[2].width, 300);
    EXPECT_EQ(pictureCatalogue.pictures[2].height, 200);
    EXPECT_EQ(pictureCatalogue.pictures[2].step, 2);
    EXPECT_EQ(pictureCatalogue.pictures[5].step, 2);
    EXPECT_EQ(effectParameters.pixelSize, 9);
    EXPECT_EQ(effectParameters.mode, 0);
    EXPECT_EQ(effectParameters.picture, 0);
    EXPECT_EQ(effectParameters.program, effectPrograms[0]);
}

TEST_F(SceneLoadTest, MissingPicturesLeaveEmptySlotsOfStepTwo) {
    enterScratchFolder();
    writePicture("neonOff.bmp", 16, 8);
    writePicture("neonOn.bmp", 16, 8);
    const std::string output = loadCapturingOutput();
    EXPECT_EQ(output, "Billboard I\npixelSize = 6\n\n");
    for (int slot : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11})
        EXPECT_EQ(pictureCatalogue.textureIds[slot], 0u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(pictureCatalogue.pictures[i].width, 0);
        EXPECT_EQ(pictureCatalogue.pictures[i].step, 2);
    }
    // The unlit neon sign is slot 5's own texture, distinct from the lit one.
    EXPECT_NE(pictureCatalogue.textureIds[5], 0u);
    EXPECT_NE(pictureCatalogue.textureIds[12], 0u);
    EXPECT_NE(pictureCatalogue.textureIds[12], pictureCatalogue.textureIds[5]);
    EXPECT_EQ(pictureCatalogue.textureIds[13], pictureCatalogue.textureIds[5]);
}

TEST_F(SceneLoadTest, OtherPictureFilesTakeThePlaceOfTheBuiltInPictures) {
    enterScratchFolder();
    writePicture("mine.bmp", 81, 27);
    writePicture("noise.bmp", 8, 8);
    const std::string output =
        loadCapturingOutput({".\\Textures\\mine.bmp", nullptr, nullptr, nullptr, nullptr, nullptr});
    EXPECT_EQ(output, "Billboard I\npixelSize = 9\n\n");
    EXPECT_EQ(pictureCatalogue.pictures[0].width, 81);
    EXPECT_NE(pictureCatalogue.textureIds[0], 0u);
    EXPECT_EQ(pictureCatalogue.textureIds[5], 0u);  // no neon sign among them
    EXPECT_NE(pictureCatalogue.textureIds[kNoiseSlot], 0u);
}

TEST_F(SceneLoadTest, CameraIsPlacedBeforeTheBillboard) {
    enterScratchFolder();
    camera.positionCamera(5, 5, 5, 0, 0, 0, 1, 0, 0);
    loadCapturingOutput();
    EXPECT_FLOAT_EQ(camera.getPosition().y, 20.0f);
    EXPECT_FLOAT_EQ(camera.getPosition().z, 60.0f);
    EXPECT_NEAR(camera.getView().y, 19.91695f, 1e-5);
    EXPECT_NEAR(camera.getView().z, 59.00346f, 1e-5);
    EXPECT_FLOAT_EQ(camera.getUpVector().y, 1.0f);
}

}  // namespace
