// The shader files of the four effects, kept once for the program that reads them and the
// generator that writes them: each file's name in Shaders/ and the source in effects/glsl/
// that it is put together from. Free of GL, so the generator links nothing of GL.
#pragma once

// A file's path for the program is kShaderFolder followed by its name.
inline constexpr const char* kShaderFolder = "./Shaders/";

struct ShaderFile {
    const char* name;    // name in Shaders/
    const char* source;  // name in the pieces folder
};

// In effect order, the vertex shader of each effect before its fragment shader.
inline constexpr ShaderFile kShaderFiles[] = {
    {"billboard1.vert", "flat_face.vert"},    {"billboard1.frag", "flat_cells.frag"},
    {"billboard2.vert", "led_face.vert"},     {"billboard2.frag", "round_leds.frag"},
    {"billboard3.vert", "led_face.vert"},     {"billboard3.frag", "stepped_leds.frag"},
    {"billboard4.vert", "boosted_face.vert"}, {"billboard4.frag", "boosted_leds.frag"},
};

// The fragment shaders again, in effect order, for frames kept as planes (frames/planar_frame.h):
// each is put together from the same source with the picture read of rows swapped for the one
// of planes, and is read only when a video is shown as planes.
inline constexpr const char* kRowsReadPiece = "picture_rows.glsl";
inline constexpr const char* kPlanesReadPiece = "picture_planes.glsl";
inline constexpr ShaderFile kPlanarShaderFiles[] = {
    {"billboard1.planes.frag", "flat_cells.frag"},
    {"billboard2.planes.frag", "round_leds.frag"},
    {"billboard3.planes.frag", "stepped_leds.frag"},
    {"billboard4.planes.frag", "boosted_leds.frag"},
};
