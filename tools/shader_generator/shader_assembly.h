// Puts an effect shader together from its pieces: a source file whose lines of the form
//   #include "piece.glsl"
// are replaced by the piece's bytes, so each generated file is whole and GL needs no includes.
#pragma once

#include <string>

#include "effects/shader_files.h"

namespace shadergen {

// Pieces may include pieces, this deep at most: enough for any sensible nesting, and an
// include cycle ends with an error instead of running out of memory.
constexpr int kMaxIncludeDepth = 8;

struct AssembledShader {
    bool ok = false;
    std::string text;   // the whole shader when ok
    std::string error;  // what went wrong otherwise, naming the file
};

// One piece put in the place of another wherever it is included.
struct PieceSwap {
    std::string included;  // the piece the sources name
    std::string used;      // the piece put in its place
};

// Reads `source` from `folder` and replaces its include lines, byte for byte otherwise. With a
// swap, the swapped piece must be included somewhere, or the shader is not made.
AssembledShader assembleShader(const std::string& folder, const std::string& source,
                               const PieceSwap* swap = nullptr);

}  // namespace shadergen
