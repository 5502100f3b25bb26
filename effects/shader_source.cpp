// readShaderSource: the whole file into one NUL-terminated block, refused past
// kMaxShaderSourceBytes.
#include "effects/shader_source.h"

#include <fstream>

std::unique_ptr<char[]> readShaderSource(const char* fileName) {
    std::ifstream file(fileName, std::ios::in | std::ios::binary | std::ios::ate);
    if (!file.good()) return nullptr;
    const std::streamoff size = file.tellg();
    if (size < 0 || std::size_t(size) > kMaxShaderSourceBytes) return nullptr;

    auto text = std::make_unique<char[]>(std::size_t(size) + 1);
    file.seekg(0, std::ios::beg);
    file.read(text.get(), size);
    if (file.gcount() != size) return nullptr;
    text[std::size_t(size)] = '\0';
    return text;
}
