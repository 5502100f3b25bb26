// Writing or checking a generated corpus, shared by the corpus generators.
#include "fuzz/generated_corpus.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

#include "files/replacement_file.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

}  // namespace

int writeOrCheckCorpus(int argc, char** argv, const char* tool,
                       const std::vector<GeneratedFile>& files) {
    const std::string_view mode = argc == 3 ? argv[1] : "";
    if (mode != "write" && mode != "check") {
        std::fprintf(stderr, "usage: %s write|check FOLDER\n", tool);
        return 2;
    }
    int failures = 0;
    for (const GeneratedFile& file : files) {
        const std::string path = std::string(argv[2]) + "/" + file.path;
        if (mode == "check") {
            if (readFile(path) != std::string(file.bytes.begin(), file.bytes.end())) {
                std::fprintf(stderr, "%s differs from what %s writes\n", path.c_str(), tool);
                ++failures;
            }
        } else if (const int error = replaceFile(path.c_str(), file.bytes)) {
            std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), std::strerror(error));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
