// The fragment shader of an effect made to read frames kept as planes (frames/planar_frame.h):
// the shader's own picture read, pictureAt, is put aside for one that reads luma from the
// picture's unit and chroma from two more, and turns them into RGB. Everything else about the
// effect stays as its file has it. Free of GL.
#pragma once

#include <string>
#include <string_view>

// The uniforms the planar read adds.
inline constexpr const char* kChromaUName = "billboardChromaU";
inline constexpr const char* kChromaVName = "billboardChromaV";
inline constexpr const char* kYuvMatrixName = "billboardYuvMatrix";
inline constexpr const char* kYuvOffsetName = "billboardYuvOffset";

// The shader text with the planar read in place of its own; empty when the text has no
// picture read to replace (a shader of the user's that reads the picture some other way).
std::string planarFragmentText(std::string_view text);
