// objconv: loads an OBJ model (with its MTL library) through the model library, prints its
// counts, and with output paths writes it back as OBJ and MTL text.
//   objconv IN.obj [OUT.obj [OUT.mtl]]
// Without OUT.mtl the OBJ text is written without a library and no MTL text is written.
// A model that cannot be read or a file that cannot be written is named with the reason on
// standard error, with exit status 1; a file that failed keeps its old contents.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "obj/obj.h"

namespace {

// Exit status of a command line that the tool cannot use.
constexpr int kUsageStatus = 2;

void printCounts(int fi) {
    int polygons = 0;
    int lines = 0;
    for (int si = 0; si < obj::surfaceCount(fi); ++si) {
        polygons += obj::polygonCount(fi, si);
        lines += obj::lineCount(fi, si);
    }
    std::printf("vertices: %d, surfaces: %d, materials: %d, polygons: %d, lines: %d\n",
                obj::vertexCount(fi), obj::surfaceCount(fi), obj::materialCount(fi), polygons,
                lines);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: objconv IN.obj [OUT.obj [OUT.mtl]]\n");
        return kUsageStatus;
    }
    const char* input = argv[1];
    errno = 0;
    const int fi = obj::createFile(input);
    if (fi < 0) {
        std::fprintf(stderr, "objconv: cannot read %s: %s\n", input,
                     std::strerror(errno != 0 ? errno : ENOMEM));
        return 1;
    }
    // The library gives an unreadable input as an empty model and keeps the reason aside.
    if (const char* reason = obj::lastReadError()) {
        std::fprintf(stderr, "objconv: cannot read %s: %s\n", input, reason);
        return 1;
    }
    printCounts(fi);
    if (argc < 3) return 0;
    // The counts line goes out before any message about the files.
    std::fflush(stdout);
    const obj::WriteResult written = obj::writeModel(fi, argv[2], argc >= 4 ? argv[3] : nullptr);
    if (!written) {
        std::fprintf(stderr, "objconv: cannot write %s: %s\n", written.failedPath,
                     std::strerror(written.error));
        return 1;
    }
    return 0;
}
