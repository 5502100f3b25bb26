// Writes the effect shader files from the shared pieces, and the fragment shaders again with
// the picture read of planes:
//   shader_generator [output folder] [pieces folder]    (defaults "Shaders", "effects/glsl")
// Each file comes out whole, the same bit for bit on every run.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "files/replacement_file.h"
#include "tools/shader_generator/shader_assembly.h"

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "Shaders";
    const std::string pieces = argc > 2 ? argv[2] : "effects/glsl";
    // Everything is put together before anything is written, so a faulty piece leaves the
    // committed files as they were.
    std::vector<std::string> names, texts;
    const shadergen::PieceSwap planes{kRowsReadPiece, kPlanesReadPiece};
    auto assemble = [&](const ShaderFile& file, const shadergen::PieceSwap* swap) {
        shadergen::AssembledShader shader = shadergen::assembleShader(pieces, file.source, swap);
        if (!shader.ok) {
            std::fprintf(stderr, "shader_generator: %s\n", shader.error.c_str());
            return false;
        }
        names.push_back(file.name);
        texts.push_back(std::move(shader.text));
        return true;
    };
    for (const ShaderFile& file : kShaderFiles)
        if (!assemble(file, nullptr)) return 1;
    for (const ShaderFile& file : kPlanarShaderFiles)
        if (!assemble(file, &planes)) return 1;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string path = folder + "/" + names[i];
        if (replaceTextFile(path.c_str(), texts[i]) != 0) {
            std::fprintf(stderr, "shader_generator: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s: %zu bytes\n", path.c_str(), texts[i].size());
    }
    return 0;
}
