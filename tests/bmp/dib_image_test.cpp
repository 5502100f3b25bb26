// loadDibImage through real files: a decoded picture, and each failure with the notice the
// user sees.
#include "bmp/dib_image.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>

#include "bmp/notice.h"
#include "files/replacement_file.h"
#include "tests/bmp/bmp_fixtures.h"

using namespace fixtures;

namespace {

struct Notice {
    std::string caption, text;
};
std::vector<Notice> notices;

void recordNotice(const char* caption, const char* text) {
    notices.push_back({caption, text});
}

class DibImageTest : public testing::Test {
  protected:
    void SetUp() override {
        notices.clear();
        previous_ = setNoticeHandler(recordNotice);
    }
    void TearDown() override {
        setNoticeHandler(previous_);
        for (const std::string& path : paths_) std::remove(path.c_str());
    }
    std::string writeTemp(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = testing::TempDir() + name;
        EXPECT_TRUE(writeFileBytes(path.c_str(), bytes));
        paths_.push_back(path);
        return path;
    }
    // Loads path and expects null with exactly one "Error" notice; returns its text.
    std::string loadFailure(const std::string& path) {
        RgbImage* image = loadDibImage(path.c_str());
        EXPECT_EQ(image, nullptr);
        EXPECT_EQ(notices.size(), 1u);
        if (notices.empty()) return "";
        EXPECT_EQ(notices[0].caption, "Error");
        return notices[0].text;
    }

  private:
    NoticeHandler previous_ = nullptr;
    std::vector<std::string> paths_;
};

}  // namespace

TEST_F(DibImageTest, LoadsAPictureFileIntoTwoFreeableBlocks) {
    const auto rgb = patternRgb(3, 2);
    const std::string path = writeTemp("dib_image_ok.bmp", encodeBmp24(3, 2, rgb.data()));
    RgbImage* image = loadDibImage(path.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(std::vector<std::uint8_t>(image->pixels, image->pixels + rgb.size()), rgb);
    EXPECT_TRUE(notices.empty());
    std::free(image->pixels);
    std::free(image);
}

TEST_F(DibImageTest, MissingFileNamesTheFileInItsNotice) {
    const std::string path = testing::TempDir() + "no_such_picture.bmp";
    EXPECT_EQ(loadFailure(path), "Failed to open DIB file " + path + ".\n");
}

TEST_F(DibImageTest, EmptyFileIsReportedLikeAMissingOne) {
    const std::string path = writeTemp("dib_image_empty.bmp", {});
    EXPECT_EQ(loadFailure(path), "Failed to open DIB file " + path + ".\n");
}

TEST_F(DibImageTest, DirectoryCannotBeOpenedAsAPicture) {
    EXPECT_EQ(loadFailure("tests"), "Failed to open DIB file tests.\n");
}

TEST_F(DibImageTest, DevicesAndPipesFailToOpenWithoutReadingOrWaiting) {
    EXPECT_EQ(loadFailure("/dev/zero"), "Failed to open DIB file /dev/zero.\n");
    notices.clear();
    const std::string pipe = testing::TempDir() + "dib_image_pipe.bmp";
    std::remove(pipe.c_str());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // A pipe without a writer: the load must fail at once. Should it wait instead, opening the
    // writing end after a while releases it, and the test fails rather than hangs.
    auto load = std::async(std::launch::async, [&] { return loadFailure(pipe); });
    const bool finished = load.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!finished) ::close(::open(pipe.c_str(), O_WRONLY));
    EXPECT_TRUE(finished) << "the load waited for a writer";
    EXPECT_EQ(load.get(), "Failed to open DIB file " + pipe + ".\n");
    std::remove(pipe.c_str());
}

TEST_F(DibImageTest, LongFileNameIsCutToTheTextBuffer) {
    const std::string name(600, 'n');
    const std::string text = loadFailure(name);
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text, ("Failed to open DIB file " + name).substr(0, 255));
}

TEST_F(DibImageTest, BackslashPathsAreTriedWithSlashes) {
    const auto rgb = patternRgb(1, 1);
    const std::string path = writeTemp("dib_image_slash.bmp", encodeBmp24(1, 1, rgb.data()));
    std::string windowsPath = path;
    for (char& c : windowsPath) {
        if (c == '/') c = '\\';
    }
    RgbImage* image = loadDibImage(windowsPath.c_str());
    ASSERT_NE(image, nullptr);
    freeRgbImage(image);
}

TEST_F(DibImageTest, NewerHeadersAreAnUnknownFormat) {
    for (std::uint32_t size : {108u, 124u}) {
        notices.clear();
        auto bytes = encodeBmp24(2, 2, patternRgb(2, 2).data());
        bytes.insert(bytes.begin() + 54, size - 40, 0);
        setU32(bytes, 14, size);
        setU32(bytes, kPixelOffsetField, 14 + size);
        const std::string path = writeTemp("dib_image_v" + std::to_string(size) + ".bmp", bytes);
        EXPECT_EQ(loadFailure(path), "Unknown DIB file format.");
    }
}

TEST_F(DibImageTest, DamagedFileIsAConversionErrorWithoutItsName) {
    auto bytes = encodeBmp24(4, 4, patternRgb(4, 4).data());
    bytes.erase(bytes.end() - 20, bytes.end());
    const std::string path = writeTemp("dib_image_cut.bmp", bytes);
    EXPECT_EQ(loadFailure(path), "Image file conversion error.");
}
