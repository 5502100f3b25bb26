// Draws every picture of the program and writes them as BMP files:
//   texture_generator [output folder]      (default "Textures")
// The output is the same bit for bit on every run.
#include <cstdio>
#include <cstring>
#include <string>

#include "files/replacement_file.h"
#include "tools/texture_generator/picture_table.h"

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : "Textures";
    int failures = 0;
    for (const texgen::PictureFile& file : texgen::pictureFiles()) {
        texgen::Canvas canvas = texgen::drawPicture(file);
        std::vector<std::uint8_t> bytes = texgen::encodePicture(file, canvas);
        std::string path = folder + "/" + file.fileName;
        if (bytes.empty()) {
            std::fprintf(stderr, "texture_generator: cannot encode %s\n", path.c_str());
            ++failures;
            continue;
        }
        if (const int error = replaceFile(path.c_str(), bytes)) {
            std::fprintf(stderr, "texture_generator: cannot write %s: %s\n", path.c_str(),
                         std::strerror(error));
            ++failures;
            continue;
        }
        std::printf("%s %dx%d %zu bytes\n", path.c_str(), file.width, file.height, bytes.size());
    }
    return failures ? 1 : 0;
}
