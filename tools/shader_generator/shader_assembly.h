// Puts an effect shader together from its pieces: a source file whose lines of the form
//   #include "piece.glsl"
// are replaced by the piece's bytes, so each generated file is whole and GL needs no includes.
#pragma once

#include <string>

namespace shadergen {

// One generated shader file and the source it is put together from.
struct ShaderFile {
    const char* output;  // name in Shaders/
    const char* source;  // name in the pieces folder
};

// The eight files the program reads, in effect order, vertex shader first.
inline constexpr ShaderFile kShaderFiles[] = {
    {"billboard1.vert", "flat_face.vert"}, {"billboard1.frag", "flat_cells.frag"},
    {"billboard2.vert", "led_face.vert"},  {"billboard2.frag", "round_leds.frag"},
    {"billboard3.vert", "led_face.vert"},  {"billboard3.frag", "stepped_leds.frag"},
    {"billboard4.vert", "boosted_face.vert"},  {"billboard4.frag", "boosted_leds.frag"},
};

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
