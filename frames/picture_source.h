// A decoded picture as a source of frames: a still picture shows its one frame for ever, an
// animation plays its frames at their delays by the clock, looping, from its first frame
// whenever it is chosen again. While not shown it holds its first frame.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frames/frame_source.h"
#include "pictures/picture.h"

class PictureSource final : public FrameSource {
  public:
    // `name` is what statistics lines call it.
    explicit PictureSource(Picture picture, std::string name = {});

    int width() const override { return picture_.width; }
    int height() const override { return picture_.height; }
    int fullWidth() const override;
    int fullHeight() const override;
    bool fitWithin(int maxSide) override;
    void show(bool shown, FrameClock::time_point now) override;
    FrameView frameAt(FrameClock::time_point now) override;
    FrameClock::time_point nextFrameDue(FrameClock::time_point now) const override;
    double frameRate() const override;
    double shotSeconds(double preferred) const override;
    void frameUploaded() override;
    std::string statsLine(bool shown) const override;

  private:
    // Where `now` falls in the loop: the frame shown, and when the one after it starts.
    struct LoopPlace {
        int frame = 0;
        FrameClock::time_point nextDue;
    };
    LoopPlace placeAt(FrameClock::time_point now) const;

    Picture picture_;
    std::vector<FrameClock::duration> frameStarts_;  // offsets into one loop, by frame
    FrameClock::duration loopLength_{};
    std::optional<FrameClock::time_point> start_;  // when shown, the start of the first loop
    std::string name_;
    // Frames handed over while shown, and those passed over (a redraw later than a frame's
    // whole showing time); -1 before the first of a showing.
    int lastFrame_ = -1;
    std::uint64_t shownCount_ = 0;
    std::uint64_t droppedCount_ = 0;
};
