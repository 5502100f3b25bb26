// A video on the billboard: a FrameSource whose frames a worker thread of its own decodes,
// while the video is shown, into a small bounded hand-over. The display takes the frame due by
// the clock, drops the ones it was too late for and loops the video at its end, so delay never
// builds up and memory does not grow with the video's length.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "frames/frame_source.h"
#include "frames/bounded_frame_queue.h"
#include "video/video_input.h"

class VideoSource final : public FrameSource {
  public:
    // Opens path as a video (see VideoInput::openFile); null with outcome set when it fails.
    // `name` is what statistics lines call it.
    static std::unique_ptr<VideoSource> open(const std::string& path, const std::string& name,
                                             LoadOutcome& outcome, const VideoLimits& limits = {});
    // The same over an input already opened.
    VideoSource(std::unique_ptr<VideoInput> input, std::string name);
    ~VideoSource() override;

    int width() const override;
    int height() const override;
    int channels() const override;
    bool offersPlanes() const override;
    void usePlanes() override;
    bool fitWithin(int maxSide) override;
    void show(bool shown, FrameClock::time_point now) override;
    FrameView frameAt(FrameClock::time_point now) override;
    FrameClock::time_point nextFrameDue(FrameClock::time_point now) const override;
    void wakeOnFrame(FrameWake wake) override { wake_ = wake; }
    bool setPaused(bool paused, FrameClock::time_point now) override;
    double frameRate() const override;
    double shotSeconds(double preferred) const override;
    void renderOffline() override;
    std::string statsLine(bool shown) const override;

    bool paused() const override { return paused_; }
    std::uint64_t shownFrames() const { return shownCount_.load(); }
    std::uint64_t droppedFrames() const { return droppedCount_.load(); }

  private:
    void takeFirstFrame();
    void startOver();
    void startWorker();
    void stopWorker();
    void decodeFrames();
    VideoRead readFrame(std::uint8_t* pixels, double& seconds, YuvColours& yuv);
    FrameView currentView() const;
    double secondsAt(FrameClock::time_point now) const;
    void showFrame(const TimedFrame& frame);
    std::uint64_t damageSeen() const;
    void reportDamage();

    std::unique_ptr<VideoInput> input_;  // the worker's alone while it runs
    std::string name_;
    std::string path_;  // the file, when opened from one
    BoundedFrameQueue handOver_;
    bool planar_ = false;  // frames are planes (frames/planar_frame.h), not RGBA rows
    bool buffersReady_ = false;
    std::size_t frameBytes_ = 0;  // the frame's own bytes, before its mipmap levels
    std::thread worker_;
    double loopStartSeconds_ = 0;  // where the worker's current pass starts on the timeline
    // Damage the input met up to the first frame, which the file's opening has told of; the
    // damage after it is told once in the file's life.
    std::uint64_t damageBeforeFirstFrame_ = 0;
    bool damageReported_ = false;

    // The display's side.
    FrameClock::time_point origin_{};  // the timeline's zero
    FrameClock::time_point pausedAt_{};
    bool shown_ = false;
    bool paused_ = false;
    bool offline_ = false;
    bool anchorPending_ = false;  // the timeline starts at the next frame taken
    FrameWake wake_ = nullptr;    // called by the worker's next frame when none was ready
    TimedFrame current_{};
    std::uint64_t serial_ = 0;
    std::atomic<std::uint64_t> shownCount_{0};
    std::atomic<std::uint64_t> droppedCount_{0};
};
