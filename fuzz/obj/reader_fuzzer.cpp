// libFuzzer target for the OBJ and MTL reader: the input is an OBJ text, optionally followed
// by a line "--mtl--" and the text of the library "lib.mtl". Both are written to a temporary
// folder, loaded with createFile (reader and post-load pass; inputs of an odd size are parsed
// on a second thread, as large models are), written back with writeModel, and the file is
// deleted again so that memory stays flat over millions of runs.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "obj/obj.h"
#include "obj/reader.h"

namespace {

constexpr std::string_view kLibrarySeparator = "\n--mtl--\n";

// In memory where the system has /dev/shm: the target writes four files per input.
std::string makeFolder() {
    for (const char* base : {"/dev/shm", "/tmp"}) {
        std::string pattern = std::string(base) + "/glimmer-fuzz-XXXXXX";
        if (mkdtemp(pattern.data())) return pattern;
    }
    std::abort();
}

const std::string& folder() {
    static const std::string path = makeFolder();
    // Removed at exit, so corpus replays in every test run leave nothing behind.
    static const bool cleanUp = std::atexit([] { std::filesystem::remove_all(folder()); }) == 0;
    (void)cleanUp;
    return path;
}

void writeFile(const std::string& path, std::string_view text) {
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    if (!stream) std::abort();
    // An empty view may have no data pointer at all, which fwrite must not be given.
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stream);
    std::fclose(stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find(kLibrarySeparator);
    std::string_view objText = input.substr(0, split);
    std::string_view mtlText = split == std::string_view::npos
                                   ? std::string_view()
                                   : input.substr(split + kLibrarySeparator.size());

    const std::string objPath = folder() + "/model.obj";
    writeFile(objPath, objText);
    writeFile(folder() + "/lib.mtl", mtlText);

    static const long long usualParallelBytes = obj::setParallelParseBytes(0);
    obj::setParallelParseBytes(size % 2 ? 0 : usualParallelBytes);
    int fi = obj::createFile(objPath.c_str());
    if (fi < 0) return 0;
    obj::writeModel(fi, (folder() + "/out.obj").c_str(), (folder() + "/out.mtl").c_str());
    obj::deleteFile(fi);
    return 0;
}
