// loadTexture against a real GL context: BMP files written by the test, read back as
// texture objects, sizes and filters; missing and broken files leave the slot empty.
#include <GL/glew.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/core/run_state.h"
#include "app/playback/texture_load.h"
#include "bmp/notice.h"
#include "files/replacement_file.h"
#include "physical/wall_setup.h"
#include "pictures/bmp_encoder.h"
#include "tests/support/gl_window.h"

namespace {

namespace fs = std::filesystem;

int noticeCount = 0;
void countNotice(const char*, const char*) {
    ++noticeCount;
}

class TextureLoadTest : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        directory = fs::temp_directory_path() / ("glimmer-texload-" + std::to_string(getpid()));
        fs::create_directories(directory);
        pictureCatalogue = PictureCatalogue{};
        noticeCount = 0;
        setNoticeHandler(countNotice);
    }
    void TearDown() override {
        setNoticeHandler(nullptr);
        fs::remove_all(directory);
    }

    // Writes a width by height picture of one colour and returns its path, backslashed.
    std::string writePicture(const char* name, int width, int height) {
        std::vector<std::uint8_t> rgb(size_t(width) * height * 3, 200);
        writeFileBytes((directory / name).c_str(), encodeBmp24(width, height, rgb.data()));
        std::string path = (directory / name).string();
        for (char& c : path)
            if (c == '/') c = '\\';
        return path;
    }

    static int boundParameter(GLenum name) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }

    fs::path directory;
};

TEST_F(TextureLoadTest, PictureBecomesAMipmappedTextureAndItsSizeIsRecorded) {
    const std::string path = writePicture("wide.bmp", 12, 6);
    ASSERT_TRUE(loadTexture(pictureCatalogue, 2, path.c_str(), true));
    EXPECT_NE(pictureCatalogue.textureIds[2], 0u);
    EXPECT_EQ(pictureCatalogue.pictures[2].width, 12);
    EXPECT_EQ(pictureCatalogue.pictures[2].height, 6);
    EXPECT_TRUE(glIsTexture(pictureCatalogue.textureIds[2]));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(boundParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    GLint level1Width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1Width);
    EXPECT_GT(level1Width, 0);  // the chain goes below the base level
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
    EXPECT_EQ(noticeCount, 0);
}

TEST_F(TextureLoadTest, SceneTexturesRecordNoSize) {
    const std::string path = writePicture("ground.bmp", 8, 8);
    ASSERT_TRUE(loadTexture(pictureCatalogue, 7, path.c_str(), false));
    EXPECT_NE(pictureCatalogue.textureIds[7], 0u);
    ASSERT_TRUE(loadTexture(pictureCatalogue, 3, path.c_str(), false));
    EXPECT_EQ(pictureCatalogue.pictures[3].width, 0);
    // A size asked for a slot without a picture record is not written anywhere.
    EXPECT_TRUE(loadTexture(pictureCatalogue, 12, path.c_str(), true));
    for (const PictureInfo& picture : pictureCatalogue.pictures) EXPECT_EQ(picture.width, 0);
}

TEST_F(TextureLoadTest, MissingFileFailsSilentlyAndLeavesTheSlotEmpty) {
    glDisable(GL_TEXTURE_2D);
    EXPECT_FALSE(loadTexture(pictureCatalogue, 1, (directory / "absent.bmp").c_str(), true));
    EXPECT_EQ(pictureCatalogue.textureIds[1], 0u);
    EXPECT_EQ(pictureCatalogue.pictures[1].width, 0);
    EXPECT_EQ(noticeCount, 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(loadTexture(pictureCatalogue, 1, nullptr, true));
}

TEST_F(TextureLoadTest, UndecodableFileIsReportedByTheLoaderAndLeavesTheSlotEmpty) {
    writeFileBytes((directory / "junk.bmp").c_str(), {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});
    EXPECT_FALSE(loadTexture(pictureCatalogue, 4, (directory / "junk.bmp").c_str(), true));
    EXPECT_EQ(pictureCatalogue.textureIds[4], 0u);
    EXPECT_EQ(pictureCatalogue.pictures[4].height, 0);
    EXPECT_EQ(noticeCount, 1);
}

TEST_F(TextureLoadTest, SlotOutsideTheCatalogueIsRefused) {
    const std::string path = writePicture("any.bmp", 4, 4);
    EXPECT_FALSE(loadTexture(pictureCatalogue, -1, path.c_str(), true));
    EXPECT_FALSE(loadTexture(pictureCatalogue, kTextureSlotCount, path.c_str(), true));
}

}  // namespace

TEST_F(TextureLoadTest, InRealUnitsAPictureIsFittedToTheWallWhenChosen) {
    wallSetup.realUnits = true;
    wallSetup.widthLeds = 40;
    wallSetup.heightLeds = 20;
    const std::string path = writePicture("small.bmp", 12, 6);
    ASSERT_TRUE(loadTexture(pictureCatalogue, 2, path.c_str(), true));
    pictureCatalogue.onWallLeds = true;
    EXPECT_EQ(pictureCatalogue.pictures[2].width, 40);  // its size on the wall from the start
    fitChosenWallPicture(pictureCatalogue, 2);
    wallSetup = WallSetup{};
    ASSERT_TRUE(glIsTexture(pictureCatalogue.textureIds[2]));
    glBindTexture(GL_TEXTURE_2D, pictureCatalogue.textureIds[2]);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 20);
    std::vector<std::uint8_t> texels(std::size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[(10 * 40 + 20) * 3], 200);  // the picture's grey in the wall's middle
}
