// objconv: loads an OBJ model (with its MTL library) through the model library, prints its
// counts, and with output paths writes it back as OBJ and MTL text.
//   objconv IN.obj [OUT.obj [OUT.mtl]]
// Without OUT.mtl the OBJ text is written without a library and no MTL text is written.
#include <cstdio>

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
    // The library reads an unopenable path as an empty model without a word; the tool says so.
    std::FILE* probe = std::fopen(input, "rb");
    if (!probe) {
        std::fprintf(stderr, "objconv: cannot open %s\n", input);
        return 1;
    }
    std::fclose(probe);

    int fi = obj::createFile(input);
    if (fi < 0) {
        std::fprintf(stderr, "objconv: out of memory loading %s\n", input);
        return 1;
    }
    printCounts(fi);
    if (argc >= 3) obj::writeModel(fi, argv[2], argc >= 4 ? argv[3] : nullptr);
    return 0;
}
