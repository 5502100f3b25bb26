// loadPicture through real files: the format comes from the content, not the name, and a file
// that cannot be read says why.
#include "pictures/picture_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "files/replacement_file.h"
#include "pictures/bmp_encoder.h"
#include "pictures/picture_encoders.h"
#include "tests/bmp/bmp_fixtures.h"

namespace {

std::string tempPath(const std::string& name) {
    return testing::TempDir() + "picture_file_test_" + name;
}

}  // namespace

TEST(PictureFileTest, FormatComesFromTheContentNotTheName) {
    const auto rgb = fixtures::patternRgb(4, 2);
    const std::string path = tempPath("really_a_png.jpg");
    ASSERT_TRUE(writeFileBytes(path.c_str(), encodePng(4, 2, 3, rgb.data())));
    Picture picture;
    const LoadOutcome outcome = loadPicture(path.c_str(), picture);
    std::remove(path.c_str());
    ASSERT_TRUE(outcome.ok()) << outcome.reason;
    EXPECT_EQ(picture.width, 4);
    EXPECT_EQ(std::vector<std::uint8_t>(picture.frames[0].pixels.get(),
                                        picture.frames[0].pixels.get() + rgb.size()),
              rgb);
}

TEST(PictureFileTest, FilesThatCannotBeReadGiveTheirReason) {
    Picture picture;
    EXPECT_EQ(loadPicture(tempPath("absent.png").c_str(), picture).reason, "file not found");
    EXPECT_EQ(loadPicture(testing::TempDir().c_str(), picture).reason,
              "cannot read the file (it is a folder)");
    const std::string empty = tempPath("empty.gif");
    ASSERT_TRUE(writeFileBytes(empty.c_str(), {}));
    const LoadOutcome outcome = loadPicture(empty.c_str(), picture);
    std::remove(empty.c_str());
    EXPECT_EQ(outcome.status, LoadStatus::truncated);
    EXPECT_EQ(outcome.reason, "empty file");
    EXPECT_TRUE(picture.frames.empty());
}
