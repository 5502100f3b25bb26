// The real program as a user starts it: the banner bytes, the window, and the refusal to run
// without the programmable pipeline.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/process.h"

namespace {

using testsupport::ProcessOptions;
using testsupport::runProcess;

using testsupport::kBanner;

// The scene load ends with the first effect's two lines; once they are out the window exists
// and the event loop runs.
bool sceneLoaded(const std::string& output) {
    return output.find("pixelSize = ") != std::string::npos && output.size() >= 2 &&
           output.compare(output.size() - 2, 2, "\n\n") == 0 && output.size() > kBanner.size();
}

std::string runCommand(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

TEST(StartupProcessTest, PrintsTheBannerByteForByteFirst) {
    ProcessOptions options;
    options.stopWhen = sceneLoaded;
    auto result = runProcess(testsupport::programPath(), options);
    ASSERT_GE(result.output.size(), kBanner.size()) << result.output;
    EXPECT_EQ(result.output.substr(0, kBanner.size()), kBanner);
    EXPECT_NE(result.output.find("Billboard I\n", kBanner.size()), std::string::npos);
}

TEST(StartupProcessTest, OpensA700By700WindowTitledGlimmerboard) {
    std::string geometry;
    ProcessOptions options;
    options.stopWhen = [&](const std::string& output) {
        if (!sceneLoaded(output)) return false;
        geometry = runCommand("xwininfo -name Glimmerboard 2>&1");
        return true;
    };
    runProcess(testsupport::programPath(), options);
    EXPECT_NE(geometry.find("\"Glimmerboard\""), std::string::npos) << geometry;
    EXPECT_NE(geometry.find("Width: 700\n"), std::string::npos) << geometry;
    EXPECT_NE(geometry.find("Height: 700\n"), std::string::npos) << geometry;
}

void expectRefusedWithout(const std::string& extension) {
    ProcessOptions options;
    options.environment = {"MESA_EXTENSION_OVERRIDE=-" + extension};
    auto result = runProcess(testsupport::programPath(), options);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.output, kBanner);
    EXPECT_EQ(result.errorText, "");
}

TEST(StartupProcessTest, ExitsWithStatusOneWithoutFragmentPrograms) {
    expectRefusedWithout("GL_ARB_fragment_program");
}

TEST(StartupProcessTest, ExitsWithStatusOneWithoutVertexPrograms) {
    expectRefusedWithout("GL_ARB_vertex_program");
}

}  // namespace
