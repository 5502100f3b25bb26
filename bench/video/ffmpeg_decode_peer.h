// The floor for the video benchmark: FFmpeg's own decode of a clip, frames left as decoded
// (no conversion, no upload), with the same thread count as the program's.
#pragma once

#include <string>

// Decodes every frame of the clip's video stream; the number of frames, -1 on failure.
int decodeWithFfmpeg(const std::string& path);
