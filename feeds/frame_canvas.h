// The frame a decoder draws into. A whole frame is handed over by swapping buffers, not by
// copying it, so after each hand-over the canvas holds the left-overs of some older frame: a
// decoder that redraws the whole wall before the next hand-over (as senders mostly do) need
// not mind; one that draws only part of it restores the rest from the frame handed over last.
#pragma once

#include <cstdint>
#include <vector>

#include "feeds/feed_decoder.h"
#include "feeds/streaming_copy.h"

class FrameCanvas {
  public:
    FrameCanvas(std::size_t bytes, FeedOutput& output) : pixels_(bytes, 0), output_(output) {}

    std::uint8_t* pixels() { return pixels_.data(); }
    std::size_t size() const { return pixels_.size(); }

    // True from a hand-over until restored(): the canvas may hold pixels older than the
    // frame handed over last.
    bool stale() const { return last_ != nullptr; }
    // Copies `length` bytes at `offset` of the frame handed over last into the canvas.
    void restore(std::size_t offset, std::size_t length);
    // What the decoder has not drawn since the hand-over is restored: the canvas is current.
    void restored() { last_ = nullptr; }
    void restoreAll();

    void handOver() {
        finishStreaming();
        last_ = output_.handOver(pixels_);
    }

  private:
    std::vector<std::uint8_t> pixels_;  // RGB rows from the top
    FeedOutput& output_;
    const std::uint8_t* last_ = nullptr;
};
