// The real program as a user starts it: the banner bytes, the window, and the refusal to run
// without the programmable pipeline.
#include <gtest/gtest.h>

#include <signal.h>

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

// An X server of this test's own: on the shared one, another test's program window of the
// same title could be taken for this one's.
class PrivateDisplay {
  public:
    PrivateDisplay() {
        // The shell prints the server's process id at once, the server its display number
        // once it takes clients.
        pipe_ = popen(
            "Xvfb -displayfd 1 -nolisten tcp -screen 0 800x800x24 2>/dev/null & "
            "echo $!; wait",
            "r");
        if (pipe_ == nullptr || std::fscanf(pipe_, "%d %d", &pid_, &number_) != 2) number_ = -1;
    }
    ~PrivateDisplay() {
        if (pid_ > 0) kill(pid_, SIGTERM);
        if (pipe_ != nullptr) pclose(pipe_);
    }
    std::string name() const { return std::string(":").append(std::to_string(number_)); }
    bool ready() const { return number_ >= 0; }

  private:
    FILE* pipe_ = nullptr;
    int pid_ = -1;
    int number_ = -1;
};

TEST(StartupProcessTest, OpensA700By700WindowTitledGlimmerboard) {
    const PrivateDisplay display;
    ASSERT_TRUE(display.ready());
    std::string geometry;
    ProcessOptions options;
    options.environment = {"DISPLAY=" + display.name()};
    options.stopWhen = [&](const std::string& output) {
        if (!sceneLoaded(output)) return false;
        geometry = runCommand("xwininfo -display " + display.name() + " -name Glimmerboard 2>&1");
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
