// Include expansion for the effect shaders; every other byte passes through unchanged, so the
// generated files carry the pieces' line endings and comments exactly.
#include "tools/shader_generator/shader_assembly.h"

#include <fstream>
#include <iterator>
#include <string_view>

namespace shadergen {
namespace {

constexpr std::string_view kIncludeStart = "#include \"";

bool readWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The piece named by an include line ("#include \"name\"" and nothing else), or empty.
std::string_view includedName(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.starts_with(kIncludeStart) || line.size() < kIncludeStart.size() + 2 ||
        line.back() != '"')
        return {};
    return line.substr(kIncludeStart.size(), line.size() - kIncludeStart.size() - 1);
}

bool expand(const std::string& folder, const std::string& name, int depth, AssembledShader& out) {
    if (depth > kMaxIncludeDepth) {
        out.error = name + ": includes nested deeper than " + std::to_string(kMaxIncludeDepth);
        return false;
    }
    std::string text;
    if (!readWhole(folder + "/" + name, text)) {
        out.error = folder + "/" + name + ": cannot read";
        return false;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + start, end - start);
        std::string_view lineBody = line;
        if (lineBody.ends_with('\n')) lineBody.remove_suffix(1);
        const std::string_view piece = includedName(lineBody);
        if (piece.empty()) {
            out.text += line;
        } else if (!expand(folder, std::string(piece), depth + 1, out)) {
            out.error = name + " includes " + out.error;
            return false;
        }
        start = end;
    }
    return true;
}

}  // namespace

AssembledShader assembleShader(const std::string& folder, const std::string& source) {
    AssembledShader out;
    out.ok = expand(folder, source, 0, out);
    if (!out.ok) out.text.clear();
    return out;
}

}  // namespace shadergen
