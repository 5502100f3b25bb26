// The command line parsed from a list of arguments, as main() would get them after the
// program's name. The arguments are kept until the next call, since the parsed line (GLUT's
// arguments) points into them.
#pragma once

#include <string>
#include <vector>

#include "app/command_line/command_line.h"

inline CommandLine parse(std::vector<std::string> arguments) {
    static std::vector<std::string> kept;
    kept = std::move(arguments);
    kept.insert(kept.begin(), "glimmerboard");
    static std::vector<char*> argv;
    argv.clear();
    for (std::string& argument : kept) argv.push_back(argument.data());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}
