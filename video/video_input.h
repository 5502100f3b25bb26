// One video file, or video bytes in memory, read frame by frame: probed, demuxed, decoded and
// converted to RGB, or kept as planes, at the size asked for. Only the first video stream is
// read; audio and every other stream are skipped unread. Not thread-safe: one thread at a time
// uses an input.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "frames/planar_frame.h"
#include "pictures/picture.h"
#include "video/rgb_conversion.h"

struct VideoLimits {
    // A frame may hold as many pixels as a still picture; a video keeps only a few frames.
    std::uint64_t maxPixelCount = kMaxPicturePixelCount;
};

enum class VideoRead {
    frame,   // a frame was written
    end,     // the stream has no more frames
    failed,  // reading stopped for good (the file went away, memory ran out)
};

class VideoInput {
  public:
    VideoInput();
    ~VideoInput();
    VideoInput(const VideoInput&) = delete;
    VideoInput& operator=(const VideoInput&) = delete;

    // Opens the file, finds its video stream and decodes its first frame, so that a file that
    // cannot show anything is refused here with its reason.
    LoadOutcome openFile(const char* path, const VideoLimits& limits = {});
    // The same over bytes in memory, which must outlive the input.
    LoadOutcome openBytes(std::span<const std::uint8_t> bytes, const VideoLimits& limits = {});

    // The size the stream's frames are shown at (their width corrected for pixels that are not
    // square), and the size they are converted to (the same until setOutputSize).
    int width() const;
    int height() const;
    int outputWidth() const;
    int outputHeight() const;
    void setOutputSize(int width, int height);
    // Bytes a pixel of the frames read: 3 (RGB, the default) or 4 (RGBA).
    int outputChannels() const;
    void setOutputChannels(int channels);

    // Whether the stream's frames can be handed over as planes (readPlanes): YUV 4:2:0, shown
    // as stored (a turned video's frames are turned as RGB).
    bool planesSuit() const;

    // Frames per second the stream declares or its timestamps suggest; 25 when it tells
    // nothing.
    double frameRate() const;
    // Packets that failed to decode and were skipped, since the input was opened.
    std::uint64_t skippedPackets() const;
    // Frames the decoder gave with damage it papered over (parts of the picture filled in
    // from elsewhere), since the input was opened.
    std::uint64_t concealedFrames() const;

    // Decodes the next frame into rgb (outputWidth * outputHeight * outputChannels bytes, bottom
    // row first) with its time in seconds from the stream's start. A packet that does not
    // decode is skipped, and reading goes on with what decodes next. `rowsDone` hears of the
    // frame's rows as they are converted (see RgbConversion).
    VideoRead readFrame(std::uint8_t* rgb, double& seconds, const ConvertedRows& rowsDone = {});
    // The same into a planar frame with its mipmap levels (planarFrameLayout of the output
    // size), and the colours its samples stand for.
    VideoRead readPlanes(std::uint8_t* frame, double& seconds, YuvColours& colours);

    // Decodes on, without converting, to the first frame at `limit` seconds or later and gives
    // `limit`; when the stream ends sooner, gives the time of its last frame. Rewinds after.
    double lastFrameBefore(double limit);

    // Back to the first frame; false when the input cannot seek.
    bool rewind();

  private:
    VideoRead readNext(double& seconds, const std::function<bool()>& convert);

    struct State;
    std::unique_ptr<State> state_;
};
