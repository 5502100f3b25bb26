// readShaderSource hands over a file's bytes exactly, plus one NUL.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "effects/shader_source.h"

namespace {

class ShaderSourceTest : public ::testing::Test {
  protected:
    std::string path = ::testing::TempDir() + "shader_source_test.txt";

    void writeFile(const std::string& bytes) {
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    void TearDown() override { std::remove(path.c_str()); }

    // The text must hold the bytes unchanged, with a NUL right after them.
    void expectExactText(const std::string& bytes) {
        writeFile(bytes);
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
    EXPECT_EQ(readShaderSource(::testing::TempDir().c_str()), nullptr);
}

}  // namespace
