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

// Reads `source` from `folder` and replaces its include lines, byte for byte otherwise.
AssembledShader assembleShader(const std::string& folder, const std::string& source);

}  // namespace shadergen
