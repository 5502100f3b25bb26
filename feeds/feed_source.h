// A live feed as a source of frames: the wall's size, the newest whole frame the receiver
// handed over, the display woken by each frame while shown (or, given no wake, a short poll
// interval, since frames come from another thread), and its statistics line always, since it
// receives all along, with the latency of the frames uploaded.
// Frames go to the display as RGBA with their mipmap levels, made here, on the display's
// thread, as each new frame is taken: a software driver uploads RGBA as a plain copy, and the
// levels cost a fraction of glGenerateMipmap's (docs/benchmarks/feeds.md), while the receiver
// thread does no more work.
#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "feeds/feed_receiver.h"
#include "feeds/recent_latencies.h"
#include "frames/frame_source.h"

// How often the display looks for a new frame of a shown feed that cannot wake it.
inline constexpr auto kFeedPollInterval = std::chrono::milliseconds(1);

// The rate a review's clips sample a feed at: what most LED walls are driven at.
inline constexpr double kFeedClipFrameRate = 30;

class FeedSource final : public FrameSource {
  public:
    explicit FeedSource(std::unique_ptr<FeedReceiver> receiver, const WallLayout& layout);
    ~FeedSource() override;

    int width() const override { return layout_.width; }
    int height() const override { return layout_.height; }
    bool fitWithin(int maxSide) override;
    void show(bool shown, FrameClock::time_point now) override;
    FrameView frameAt(FrameClock::time_point now) override;
    int channels() const override { return 4; }
    FrameClock::time_point nextFrameDue(FrameClock::time_point now) const override;
    void wakeOnFrame(FrameWake wake) override;
    void frameUploaded() override;
    std::string statsLine(bool shown) const override;
    double frameRate() const override { return kFeedClipFrameRate; }
    bool live() const override { return true; }
    bool oneLedAPixel() const override { return true; }

    // Waits until the first frame has arrived or `deadline` passed; true when one came.
    bool waitForFirstFrame(FrameClock::time_point deadline) const override;
    // When the last packet of the frame uploaded last came (the start of its latency).
    FrameClock::time_point uploadedFrameCameAt() const { return preparedCameAt_; }

  private:
    void prepare(const std::uint8_t* rgb);

    std::unique_ptr<FeedReceiver> receiver_;
    WallLayout layout_;
    bool shown_ = false;
    std::vector<std::uint8_t> rgba_;   // the newest frame taken, made RGBA
    std::vector<std::uint8_t> chain_;  // its mipmap levels
    std::uint64_t preparedSerial_ = 0;
    FrameClock::time_point preparedCameAt_;  // when the prepared frame's last packet came
    std::uint64_t uploadedSerial_ = 0;
    RecentLatencies latencies_;
    FrameWake wake_ = nullptr;
};
