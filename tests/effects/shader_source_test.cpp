// readShaderSource hands over a file's bytes exactly, plus one NUL.
#include <gtest/gtest.h>

#include <string>

#include "effects/shader_source.h"
#include "tests/support/temp_folder.h"

namespace {

// Each test writes into a folder of its own, so runs side by side never share the file.
class ShaderSourceTest : public ::testing::Test {
  protected:
    testsupport::TempFolder folder;
    std::string path = folder.path("shader.txt");

    // The text must hold the bytes unchanged, with a NUL right after them.
    void expectExactText(const std::string& bytes) {
        folder.write("shader.txt", bytes);
        auto text = readShaderSource(path.c_str());
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text.get(), bytes.size()), bytes);
        EXPECT_EQ(text[bytes.size()], '\0');
    }
};

TEST_F(ShaderSourceTest, KeepsWindowsLineEndings) {
    expectExactText("void main()\r\n{\r\n}\r\n");
}

TEST_F(ShaderSourceTest, KeepsAByteOrderMark) {
    expectExactText("\xEF\xBB\xBFvoid main() {}\n");
}

TEST_F(ShaderSourceTest, AnEmptyFileIsJustTheTerminator) {
    expectExactText("");
}

TEST_F(ShaderSourceTest, KeepsBytesAfterAnEmbeddedNul) {
    const std::string bytes("void main() {}\n\0garbage", 23);
    expectExactText(bytes);
}

TEST_F(ShaderSourceTest, AMissingFileGivesNoText) {
    EXPECT_EQ(readShaderSource((path + ".missing").c_str()), nullptr);
}

TEST_F(ShaderSourceTest, ADirectoryGivesNoText) {
    EXPECT_EQ(readShaderSource(folder.folder().c_str()), nullptr);
}

}  // namespace
