// The command line: pictures, the review options, and GLUT's own options left for GLUT.
#include "app/command_line/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/app/command_line/parse_arguments.h"

namespace {

std::vector<std::string> glutArguments(const CommandLine& line) {
    std::vector<std::string> arguments;
    for (char* argument : line.glutArguments)
        if (argument != nullptr) arguments.emplace_back(argument);
    return arguments;
}

}  // namespace

TEST(CommandLineTest, PicturesAndOptionsAreSeparatedFromGlutsOptions) {
    const CommandLine line = parse({"-display", ":5", "a.png", "--shots", "out", "--size",
                                    "320x200", "b.gif", "--", "-dash.jpg"});
    EXPECT_TRUE(line.error.empty()) << line.error;
    EXPECT_EQ(line.pictures, (std::vector<std::string>{"a.png", "b.gif", "-dash.jpg"}));
    EXPECT_EQ(line.shotsFolder, "out");
    EXPECT_EQ(line.windowWidth, 320);
    EXPECT_EQ(line.windowHeight, 200);
    EXPECT_EQ(glutArguments(line), (std::vector<std::string>{"glimmerboard", "-display", ":5"}));
    EXPECT_EQ(line.glutArguments.back(), nullptr);
}

TEST(CommandLineTest, NoArgumentsLeaveTheBuiltInPicturesAndTheDefaultWindow) {
    const CommandLine line = parse({});
    EXPECT_TRUE(line.error.empty());
    EXPECT_TRUE(line.pictures.empty());
    EXPECT_TRUE(line.shotsFolder.empty());
    EXPECT_EQ(line.windowWidth, 0);  // the program's own window size
    EXPECT_EQ(line.windowHeight, 0);
    EXPECT_EQ(glutArguments(line), (std::vector<std::string>{"glimmerboard"}));
}

TEST(CommandLineTest, MistakesAreNamed) {
    EXPECT_EQ(parse({"--size", "10x10", "a.png"}).error,
              "--size needs WIDTHxHEIGHT, each side from 16 to 8192 pixels");
    EXPECT_EQ(parse({"--size", "300"}).error,
              "--size needs WIDTHxHEIGHT, each side from 16 to 8192 pixels");
    EXPECT_EQ(parse({"--shots"}).error, "--shots needs a folder");
    EXPECT_EQ(parse({"--shots", "out"}).error, "--shots needs at least one picture or --listen");
    EXPECT_EQ(parse({"--frobnicate"}).error, "unknown option --frobnicate");
}

// ReadMe.txt is installed beside the program and the banner sends people to it, so every
// option the usage text lists has to be described there too.
TEST(CommandLineTest, ReadMeDescribesEveryOptionOfTheUsageText) {
    std::ifstream file(GLIMMER_SOURCE_DIR "/ReadMe.txt");
    const std::string readMe{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(readMe.empty());
    auto isNamePart = [](char c) { return (c >= 'a' && c <= 'z') || c == '-'; };
    // An option named whole: "--universe" is not found inside "--universe-pixels".
    auto mentions = [&](const std::string& option) {
        for (std::size_t at = readMe.find(option); at != std::string::npos;
             at = readMe.find(option, at + 1)) {
            const std::size_t end = at + option.size();
            if (end == readMe.size() || !isNamePart(readMe[end])) return true;
        }
        return false;
    };
    const std::string usage = usageText();
    int options = 0;
    for (std::size_t at = usage.find("\n  --"); at != std::string::npos;
         at = usage.find("\n  --", at + 1)) {
        std::size_t end = at + 3;
        while (end < usage.size() && isNamePart(usage[end])) ++end;
        const std::string option = usage.substr(at + 3, end - at - 3);
        EXPECT_TRUE(mentions(option)) << option << " is not in ReadMe.txt";
        ++options;
    }
    EXPECT_GE(options, 12);  // the usage text's options were found at all
}
