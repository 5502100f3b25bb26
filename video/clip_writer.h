// Writes RGB frames as an H.264 clip in MP4 (yuv420p, which every browser plays), for reviews
// of anything that moves. The whole clip is written to its file at finish, through the
// file-replacing writer, so a failed review never leaves a half-written clip.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class ClipWriter {
  public:
    ClipWriter();
    ~ClipWriter();
    ClipWriter(const ClipWriter&) = delete;
    ClipWriter& operator=(const ClipWriter&) = delete;

    // Frames of width x height at fps a second. An odd side loses its last row or column, as
    // yuv420p needs even sides. False with error() set when no encoder takes them.
    bool open(const std::string& path, int width, int height, double fps);
    // One frame: width * height * 3 bytes, R G B, bottom row first.
    bool addFrame(const std::uint8_t* rgb);
    // Flushes the encoder and writes the file. False with error() set on any failure.
    bool finish();

    const std::string& error() const { return error_; }

  private:
    struct State;
    std::unique_ptr<State> state_;
    std::string error_;
};
