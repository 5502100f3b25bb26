// The floor for the video benchmark: FFmpeg's own decode of a clip, frames left as decoded
// (no conversion, no upload), with the same thread count as the program's.
#pragma once

#include <functional>
#include <string>

// Decodes every frame of the clip's video stream; the number of frames, -1 on failure.
// `opened` is called once the decoder is open, before the first packet is read, and
// `firstFrame` when the first frame has come out.
int decodeWithFfmpeg(const std::string& path, const std::function<void()>& opened = {},
                     const std::function<void()>& firstFrame = {});
