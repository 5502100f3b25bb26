// The uniforms that the fragment shaders for frames kept as planes (frames/planar_frame.h) add
// to their effect's: two chroma planes beside the luma on the picture's unit, and the colours'
// matrix and offset. The shaders declare them in effects/glsl/picture_planes.glsl.
#pragma once

inline constexpr const char* kChromaUName = "billboardChromaU";
inline constexpr const char* kChromaVName = "billboardChromaV";
inline constexpr const char* kYuvMatrixName = "billboardYuvMatrix";
inline constexpr const char* kYuvOffsetName = "billboardYuvOffset";
