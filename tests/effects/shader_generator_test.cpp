// The committed effect shaders are what the shader generator writes from the shared pieces,
// and a piece it cannot find stops it with the piece's name instead of a half-made shader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "tests/support/process.h"

namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ShaderGeneratorTest : public ::testing::Test {
  protected:
    fs::path folder = fs::temp_directory_path() / ("glimmer-shaders-" + std::to_string(getpid()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    testsupport::ProcessResult generate(const std::vector<std::string>& arguments) {
        testsupport::ProcessOptions options;
        options.arguments = arguments;
        return testsupport::runProcess(GLIMMER_BINARY_DIR "/shader_generator", options);
    }
};

TEST_F(ShaderGeneratorTest, RegeneratesTheCommittedShadersBitForBit) {
    const testsupport::ProcessResult result = generate({folder.string()});
    EXPECT_EQ(result.exitStatus, 0) << result.errorText;
    int compared = 0;
    for (const fs::directory_entry& committed : fs::directory_iterator("Shaders")) {
        const fs::path written = folder / committed.path().filename();
        EXPECT_TRUE(fs::exists(written)) << committed.path() << " is not generated";
        EXPECT_TRUE(fileText(written) == fileText(committed.path()))
            << committed.path() << " differs from what the generator writes";
        ++compared;
    }
    EXPECT_EQ(compared, 12);  // eight for the effects, four more for frames kept as planes
}

TEST_F(ShaderGeneratorTest, AMissingPieceFailsNamingIt) {
    fs::copy("effects/glsl", folder / "pieces");
    fs::remove(folder / "pieces" / "led_glow.glsl");
    const testsupport::ProcessResult result =
        generate({(folder / "out").string(), (folder / "pieces").string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.errorText.find("round_leds.frag includes"), std::string::npos)
        << result.errorText;
    EXPECT_NE(result.errorText.find("led_glow.glsl: cannot read"), std::string::npos)
        << result.errorText;
}

}  // namespace
