// The bmp2ppm tool as a user runs it: the PPM bytes it writes, and on failure the notice, no
// file and exit status 1.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "files/replacement_file.h"
#include "tests/bmp/bmp_fixtures.h"
#include "tests/support/process.h"

using namespace fixtures;

namespace {

const std::string kTool = std::string(GLIMMER_BINARY_DIR) + "/bmp2ppm";

testsupport::ProcessResult runTool(const std::vector<std::string>& arguments) {
    testsupport::ProcessOptions options;
    options.arguments = arguments;
    return testsupport::runProcess(kTool, options);
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool fileExists(const std::string& path) {
    return std::ifstream(path).good();
}

}  // namespace

TEST(Bmp2ppmTest, WritesTopRowFirstBinaryPpm) {
    const std::uint8_t rgb[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // 2 x 2, bottom first
    const std::string in = testing::TempDir() + "bmp2ppm_in.bmp";
    const std::string out = testing::TempDir() + "bmp2ppm_out.ppm";
    ASSERT_TRUE(writeFileBytes(in.c_str(), encodeBmp24(2, 2, rgb)));
    const auto result = runTool({in, out});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.errorText, "");
    const std::string expected = std::string("P6\n2 2\n255\n") + std::string{7, 8, 9, 10, 11, 12} +
                                 std::string{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(readFile(out), expected);
    std::remove(in.c_str());
    std::remove(out.c_str());
}

TEST(Bmp2ppmTest, FailureShowsTheNoticeAndWritesNoFile) {
    const std::string in = testing::TempDir() + "bmp2ppm_bad.bmp";
    const std::string out = testing::TempDir() + "bmp2ppm_bad.ppm";
    std::remove(out.c_str());
    auto bytes = encodeBmp24(1, 1, patternRgb(1, 1).data());
    setU32(bytes, 14, 108);
    ASSERT_TRUE(writeFileBytes(in.c_str(), bytes));
    auto result = runTool({in, out});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.errorText, "Error: Unknown DIB file format.\n");
    EXPECT_FALSE(fileExists(out));

    result = runTool({"missing.bmp", out});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.errorText, "Error: Failed to open DIB file missing.bmp.\n");
    EXPECT_FALSE(fileExists(out));
    std::remove(in.c_str());
}

TEST(Bmp2ppmTest, FailureKeepsAnExistingOutputAndNamesTheReason) {
    const std::string in = testing::TempDir() + "bmp2ppm_keep.bmp";
    const std::string out = testing::TempDir() + "bmp2ppm_keep.ppm";
    ASSERT_TRUE(writeFileBytes(in.c_str(), encodeBmp24(1, 1, patternRgb(1, 1).data())));
    ASSERT_TRUE(writeFileBytes(out.c_str(), {'o', 'l', 'd'}));
    auto result = runTool({"missing.bmp", out});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(readFile(out), "old");

    result = runTool({in, "/dev/full"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.errorText, "bmp2ppm: cannot write /dev/full: No space left on device\n");
    std::remove(in.c_str());
    std::remove(out.c_str());
}

TEST(Bmp2ppmTest, WrongArgumentsPrintUsage) {
    const auto result = runTool({"only-one.bmp"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.errorText.find("usage: bmp2ppm IN.bmp OUT.ppm"), std::string::npos);
}
