// The command line: pictures, the review options, and GLUT's own options left for GLUT.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CommandLine parse(std::vector<std::string> arguments) {
    static std::vector<std::string> kept;
    kept = std::move(arguments);
    kept.insert(kept.begin(), "glimmerboard");
    static std::vector<char*> argv;
    argv.clear();
    for (std::string& argument : kept) argv.push_back(argument.data());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

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
