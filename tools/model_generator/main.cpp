// Writes the billboard's frame model and its material library:
//   model_generator [output folder]      (default "Models")
// giving billboard.obj and billboard.mtl, the same bit for bit on every run.
#include <cstdio>
#include <cstring>
#include <string>

#include "files/replacement_file.h"
#include "tools/model_generator/billboard_frame.h"

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : "Models";
    modelgen::Mesh mesh = modelgen::buildBillboardFrame();
    struct Output {
        std::string name, text;
    } outputs[] = {{"billboard.obj", modelgen::objText(mesh, "billboard.mtl")},
                   {"billboard.mtl", modelgen::mtlText(mesh)}};
    for (const Output& output : outputs) {
        std::string path = folder + "/" + output.name;
        if (const int error = replaceTextFile(path.c_str(), output.text)) {
            std::fprintf(stderr, "model_generator: cannot write %s: %s\n", path.c_str(),
                         std::strerror(error));
            return 1;
        }
    }
    std::printf("%s/billboard.obj: %d faces, %d triangles\n", folder.c_str(),
                static_cast<int>(mesh.faces.size()), mesh.triangleCount());
    return 0;
}
