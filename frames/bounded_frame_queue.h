// Frames in order from a decoding thread to the display: a bounded queue the decoder waits on
// when it is full. A fixed set of frame buffers, allocated once, travel from free to filled to
// shown and back; however long a video runs, it never holds more than these.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "frames/frame_source.h"
#include "frames/planar_frame.h"
#include "pictures/picture.h"

struct TimedFrame {
    std::uint8_t* pixels = nullptr;
    double seconds = 0;  // when it is due, on the source's own timeline
    YuvColours yuv;      // of a planar frame
};

class BoundedFrameQueue {
  public:
    // Buffers of frameBytes each: queuedFrames waiting, one being filled, one shown. False when
    // memory runs out.
    bool allocate(std::size_t frameBytes, int queuedFrames);

    // The decoding side. takeFree waits for a free buffer and returns null once stopped.
    std::uint8_t* takeFree();
    void pushFilled(TimedFrame frame);
    // No frame still to come is due before `seconds` (the next pass of a looping video starts
    // there); frames pushed say as much of themselves.
    void noFrameBefore(double seconds);
    void giveBack(std::uint8_t* pixels);  // a buffer taken but not filled
    void finish();                        // nothing more will be pushed, until restart

    // Stopping wakes the decoding side; starting again lets it take buffers once more.
    void stop();
    void restart();

    // The display side, which never waits: the oldest filled frame, if any.
    bool peek(TimedFrame& frame) const;
    // The same; when there is none, the next frame pushed calls `wake` once, on the decoding
    // side, so that the display need not poll for it.
    bool peekOrWake(TimedFrame& frame, FrameWake wake) const;
    bool pop(TimedFrame& frame);
    // Waits until a filled frame is there, or nothing more comes, or nothing due by `limit`
    // seconds; false for the last two.
    bool waitForFilled(double limit);
    bool finished() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<PixelBuffer> buffers_;
    std::vector<std::uint8_t*> free_;
    std::deque<TimedFrame> filled_;
    std::size_t queuedFrames_ = 0;
    mutable FrameWake wakeOnPush_ = nullptr;
    double noFrameBefore_ = 0;
    bool stopped_ = false;
    bool finished_ = false;
};
