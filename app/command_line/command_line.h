// The program's command line: pictures to show in place of the built-in ones, the headless
// review mode and its window size. Options GLUT knows (-display, -geometry, ...) are left for
// GLUT, and with no arguments at all GLUT gets the command line unchanged.
#pragma once

#include <string>
#include <vector>

#include "app/command_line/feed_options.h"
#include "app/command_line/real_units_options.h"
#include "physical/light_line.h"

struct CommandLine {
    std::vector<std::string> pictures;  // as given, in order
    std::string shotsFolder;            // --shots DIR; empty when not reviewing
    int reviewSeconds = 5;              // --seconds N: length of the review's clips
    int windowWidth = 0;                // --size WxH; 0 when not given
    int windowHeight = 0;
    std::vector<char*> glutArguments;  // argv[0] and GLUT's own options, for glutInit
    std::string error;                 // what is wrong with the command line; empty when sound
    bool help = false;                 // --help
    FeedOptions feeds;                 // --listen and the wall it draws on
    bool stats = false;                // --stats: the sources' statistics on standard error
    RealUnitsOptions realUnits;        // --pitch and the wall, viewer and eyesight in real units
    LightSettings light;               // --nits, --ambient, --watts
};

CommandLine parseCommandLine(int argc, char** argv);

// The usage text printed for --help and after a command-line error.
const char* usageText();
