// Runs the real program (or a tool) as a child process and collects what it prints, so
// console output is tested as the bytes the program writes.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ProcessResult {
    int exitStatus = -1;    // exit status, or -1 when ended by a signal
    int signal = 0;         // the signal that ended it, 0 when it exited
    std::string output;     // everything written to standard output
    std::string errorText;  // everything written to standard error
};

struct ProcessOptions {
    std::vector<std::string> arguments;    // argv[1..]
    std::vector<std::string> environment;  // "NAME=value" entries added to ours
    std::string workingDirectory;          // the repository root when empty
    std::string input;                     // written to standard input, then closed
    double timeoutSeconds = 20;            // the child is killed (SIGTERM) after this
    // Called with the standard output so far; returning true ends the child with SIGTERM.
    std::function<bool(const std::string&)> stopWhen;
};

ProcessResult runProcess(const std::string& executable, const ProcessOptions& options);

// The options of a run with these arguments from `folder`, given a minute: a run that opens
// the user's pictures or videos takes its time on a busy machine.
inline ProcessOptions optionsIn(const std::string& folder, std::vector<std::string> arguments) {
    ProcessOptions options;
    options.arguments = std::move(arguments);
    options.workingDirectory = folder;
    options.timeoutSeconds = 60;
    return options;
}

// What the program prints first, before its window opens.
inline const std::string kBanner =
    "**********************************************************\n"
    "LED Glimmerboard Demo by: Vellmark\n"
    "Please refer to included ReadMe.txt file for commands!\n"
    "**********************************************************\n"
    "Loading Bitmaps...\n\n";

// Path of the built program, "<build>/glimmerboard".
std::string programPath();

}  // namespace testsupport
