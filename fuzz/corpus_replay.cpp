// Replays a fuzz target's corpus as an ordinary program: every file of the folders given goes
// once through the target's LLVMFuzzerTestOneInput, in name order, so each test run checks
// again every input the fuzzer ever kept. A target that finds a fault aborts; a folder that is
// missing or empty fails too, so a corpus cannot vanish unnoticed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER...\n", argv[0]);
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        std::vector<std::filesystem::path> inputs;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
        if (inputs.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        std::sort(inputs.begin(), inputs.end());
        for (const auto& input : inputs) {
            // Printed first, so the input that ends the run is the last name shown.
            std::printf("%s\n", input.c_str());
            std::fflush(stdout);
            std::ifstream file(input, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
        std::printf("%zu inputs of %s replayed\n", inputs.size(), argv[i]);
    }
    return 0;
}
