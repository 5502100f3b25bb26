// The main of a corpus generator: "write FOLDER" writes each generated file into the corpus,
// "check FOLDER" reports every committed file that differs from what the generator makes, so a
// test keeps the committed corpus and its generator in step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GeneratedFile {
    std::string path;  // relative to the corpus folder
    std::vector<std::uint8_t> bytes;
};

// Returns the process's exit status: 0, 1 when a file differs or cannot be written, 2 for a
// usage error (named after tool).
int writeOrCheckCorpus(int argc, char** argv, const char* tool,
                       const std::vector<GeneratedFile>& files);
