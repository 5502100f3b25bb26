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

struct Expansion {
    const PieceSwap* swap = nullptr;
    bool swapped = false;
};

bool expand(const std::string& folder, const std::string& name, int depth, Expansion& expansion,
            AssembledShader& out) {
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
        std::string piece(includedName(lineBody));
        if (expansion.swap && piece == expansion.swap->included) {
            piece = expansion.swap->used;
            expansion.swapped = true;
        }
        if (piece.empty()) {
            out.text += line;
        } else if (!expand(folder, piece, depth + 1, expansion, out)) {
            out.error = name + " includes " + out.error;
            return false;
        }
        start = end;
    }
    return true;
}

}  // namespace

AssembledShader assembleShader(const std::string& folder, const std::string& source,
                               const PieceSwap* swap) {
    AssembledShader out;
    Expansion expansion{swap};
    out.ok = expand(folder, source, 0, expansion, out);
    if (out.ok && swap && !expansion.swapped) {
        out.error = source + ": includes no " + swap->included + " to put " + swap->used + " in";
        out.ok = false;
    }
    if (!out.ok) out.text.clear();
    return out;
}

}  // namespace shadergen
