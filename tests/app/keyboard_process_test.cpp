// The real program driven through its window: keys typed as X events, the console read as the
// bytes that arrive through a pipe while the program keeps running.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/process.h"
#include "tests/support/x_keys.h"

namespace {

using testsupport::ProcessOptions;
using testsupport::runProcess;

// What the program prints for the keys below, after its own start-up lines.
const std::string kTypedOutput =
    "pixelRadius [0.0,1.0] = 0.605000\n"
    "luminance_boost [0.0,1.0] = -0.005000\n"
    "luminance_steps = 13\n"
    "Billboard II\n"
    "pixelSize = PS\n"
    "pixelRadius [0.0,1.0] = 0.605000\n"
    "tolerance [0.0,1.0] = 0.300000\n\n"
    "0.500000 20.000000 60.000000 \n\tat 0.500000 19.916954 59.003456 \n\tup 0.000000 "
    "1.000000 0.000000";

// The program is stopped as soon as the last expected byte is in: nothing waits for its end,
// so every line must have left it at once.
TEST(KeyboardProcessTest, TypedKeysEchoAtOnceThroughAPipe) {
    bool typed = false;
    bool typedOk = false;
    std::string expected;
    ProcessOptions options;
    options.timeoutSeconds = 30;
    options.stopWhen = [&](const std::string& output) {
        const size_t loaded = output.find("pixelSize = ");
        if (!typed) {
            if (loaded == std::string::npos || output.size() < 2 ||
                output.compare(output.size() - 2, 2, "\n\n") != 0)
                return false;
            const size_t end = output.find('\n', loaded);
            std::string pixelSize = output.substr(loaded + 12, end - loaded - 12);
            expected = output + kTypedOutput;
            expected.replace(expected.find("PS"), 2, pixelSize);
            typed = true;
            typedOk = testsupport::typeIntoChildWindow("}:>bWqdl");
            return !typedOk;
        }
        return output.size() >= expected.size();
    };
    const auto result = runProcess(testsupport::programPath(), options);
    ASSERT_TRUE(typedOk) << "the program's window was not found";
    EXPECT_EQ(result.output, expected);
}

}  // namespace
