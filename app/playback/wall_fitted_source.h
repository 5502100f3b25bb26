// A source of frames shown on the wall's own LEDs: every frame of another source fitted to the
// wall's resolution (pictures/wall_fit). A still picture is fitted once; moving content frame
// by frame on a thread of its own, so the display only copies each new frame across.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "frames/frame_source.h"
#include "pictures/wall_fit.h"

class WallFittedSource final : public FrameSource {
  public:
    WallFittedSource(std::unique_ptr<FrameSource> content, int wallWidth, int wallHeight,
                     WallFit fit);
    ~WallFittedSource() override;

    int width() const override { return wallWidth_; }
    int height() const override { return wallHeight_; }
    // RGB frames, or planes when the content has them: a video's planes are fitted one by one
    // (a third of the samples of RGB), with their mipmap levels, on the fitter's thread.
    bool offersPlanes() const override { return content_->offersPlanes(); }
    void usePlanes() override;
    bool fitWithin(int maxSide) override;
    void show(bool shown, FrameClock::time_point now) override;
    FrameView frameAt(FrameClock::time_point now) override;
    FrameClock::time_point nextFrameDue(FrameClock::time_point now) const override;
    bool setPaused(bool paused, FrameClock::time_point now) override;
    double shotSeconds(double preferred) const override;
    double frameRate() const override;
    bool live() const override;
    bool paused() const override { return content_->paused(); }
    bool oneLedAPixel() const override { return true; }
    void renderOffline() override;
    std::string statsLine(bool shown) const override;

  private:
    void fitNow(const std::uint8_t* pixels, const YuvColours& yuv,
                std::vector<std::uint8_t>& wall) const;
    void handToWorker(const FrameView& frame);
    void work();

    std::unique_ptr<FrameSource> content_;
    int wallWidth_, wallHeight_;
    WallFit fit_;
    bool offline_ = false;
    bool planar_ = false;

    std::uint64_t contentSerial_ = 0;  // the content's frame last taken
    std::uint64_t serial_ = 0;         // of `shown_`
    std::vector<std::uint8_t> shown_;  // the wall's frame handed to the display
    YuvColours shownYuv_;              // its colours, when planar

    // The hand-over with the worker: the newest content frame waiting to be fitted (older ones
    // are replaced), and the newest fitted frame waiting to be shown.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::uint8_t> waiting_, ready_;
    YuvColours waitingYuv_, readyYuv_;
    // A frame waits for the fitter, is being fitted (with the lock let go), or is ready.
    bool frameWaiting_ = false, frameFitting_ = false, frameReady_ = false, stopping_ = false;
    std::thread worker_;
};
