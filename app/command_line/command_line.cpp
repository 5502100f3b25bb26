// parseCommandLine: one pass over the arguments; "--" ends the options, so a picture whose name
// starts with a dash can still be given.
#include "app/command_line/command_line.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "app/command_line/light_options.h"
#include "frames/frame_source.h"

namespace {

// Window sides --size accepts: the screenshot has to fit a texture and a framebuffer.
constexpr int kMinWindowSide = 16;
constexpr int kMaxWindowSide = kMaxFrameSide;

// GLUT's options that take a value in the next argument.
bool glutOptionTakesValue(std::string_view option) {
    return option == "-display" || option == "-geometry";
}

bool parseSize(std::string_view text, int& width, int& height) {
    int w = 0, h = 0;
    char x = 0, rest = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%d%c%d%c", &w, &x, &h, &rest) != 3 || (x != 'x' && x != 'X'))
        return false;
    if (w < kMinWindowSide || h < kMinWindowSide || w > kMaxWindowSide || h > kMaxWindowSide)
        return false;
    width = w;
    height = h;
    return true;
}

// Longest review clip: ten minutes of frames rendered one by one is already a long wait.
constexpr int kMaxReviewSeconds = 600;

bool parseSeconds(std::string_view text, int& seconds) {
    int value = 0;
    char rest = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%d%c", &value, &rest) != 1) return false;
    if (value < 1 || value > kMaxReviewSeconds) return false;
    seconds = value;
    return true;
}

}  // namespace

CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine line;
    if (argc > 0) line.glutArguments.push_back(argv[0]);
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool hasNext = i + 1 < argc;
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            line.pictures.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--stats") {
            line.stats = true;
        } else if (argument == "--shots") {
            if (!hasNext || argv[i + 1][0] == '\0') {
                line.error = "--shots needs a folder";
                break;
            }
            line.shotsFolder = argv[++i];
        } else if (argument == "--seconds") {
            if (!hasNext || !parseSeconds(argv[i + 1], line.reviewSeconds)) {
                line.error = "--seconds needs a whole number from 1 to 600";
                break;
            }
            ++i;
        } else if (argument == "--size") {
            if (!hasNext || !parseSize(argv[i + 1], line.windowWidth, line.windowHeight)) {
                line.error = "--size needs WIDTHxHEIGHT, each side from " +
                             std::to_string(kMinWindowSide) + " to " +
                             std::to_string(kMaxWindowSide) + " pixels";
                break;
            }
            ++i;
        } else if (parseRealUnitsOption(argc, argv, i, line.realUnits, line.error)) {
            if (!line.error.empty()) break;
        } else if (parseFeedOption(argc, argv, i, line.feeds, line.error)) {
            if (!line.error.empty()) break;
        } else if (parseLightOption(argc, argv, i, line.light, line.error)) {
            if (!line.error.empty()) break;
        } else if (argument.starts_with("--")) {
            line.error = "unknown option " + std::string(argument);
            break;
        } else {
            line.glutArguments.push_back(argv[i]);
            if (glutOptionTakesValue(argument) && hasNext) line.glutArguments.push_back(argv[++i]);
        }
    }
    if (line.error.empty()) finishRealUnitsOptions(line.realUnits, line.feeds.layout, line.error);
    if (line.error.empty() && !line.shotsFolder.empty() && line.pictures.empty() &&
        line.feeds.listens.empty()) {
        line.error = "--shots needs at least one picture or --listen";
    }
    line.glutArguments.push_back(nullptr);  // argv arrays end with a null pointer
    return line;
}

const char* usageText() {
    static const std::string text =
        std::string(
            "usage: glimmerboard [OPTIONS] [PICTURE...]\n"
            "  PICTURE...       BMP, PNG, JPEG, GIF or WebP files, or videos, shown on the\n"
            "                   billboard in place of the built-in pictures (key t cycles\n"
            "                   through them, space pauses a video)\n"
            "  --shots DIR      render each picture in every effect and scene into PNG files in\n"
            "                   DIR (and MP4 clips of moving ones), with a contact sheet, then\n"
            "                   exit\n"
            "  --seconds N      length of the review's clips of videos and animations\n"
            "                   (default 5)\n"
            "  --size WxH       window size (default 700x700)\n"
            "  --stats          print what each moving picture shows and drops, once a second\n"
            "                   and at exit, on standard error\n") +
        feedUsageText() + realUnitsUsageText() + lightUsageText() +
        "  --help           this text\n"
        "GLUT's own options (-display, -geometry, ...) are passed to GLUT.\n";
    return text.c_str();
}
