// PictureSource: the frame due is found from the time since the picture was chosen, so a late
// redraw never delays the frames after it.
#include "frames/picture_source.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "pictures/picture_scale.h"

PictureSource::PictureSource(Picture picture, std::string name)
    : picture_(std::move(picture)), name_(std::move(name)) {
    FrameClock::duration offset{};
    for (const PictureFrame& frame : picture_.frames) {
        frameStarts_.push_back(offset);
        offset += std::chrono::milliseconds(frame.delayMs);
    }
    loopLength_ = offset;
}

int PictureSource::fullWidth() const {
    return picture_.fileWidth > 0 ? picture_.fileWidth : picture_.width;
}
int PictureSource::fullHeight() const {
    return picture_.fileHeight > 0 ? picture_.fileHeight : picture_.height;
}

bool PictureSource::fitWithin(int maxSide) {
    return fitPicture(picture_, maxSide);
}

void PictureSource::show(bool shown, FrameClock::time_point now) {
    start_.reset();
    lastFrame_ = -1;
    if (shown) start_ = now;
}

PictureSource::LoopPlace PictureSource::placeAt(FrameClock::time_point now) const {
    if (!start_ || !picture_.animated() || loopLength_ <= FrameClock::duration::zero())
        return {0, kNoFrameDue};
    const FrameClock::duration sinceStart = std::max(now - *start_, FrameClock::duration::zero());
    const FrameClock::duration intoLoop = sinceStart % loopLength_;
    const auto after = std::upper_bound(frameStarts_.begin(), frameStarts_.end(), intoLoop);
    const int frame = static_cast<int>(after - frameStarts_.begin()) - 1;
    const FrameClock::duration nextStart = after == frameStarts_.end() ? loopLength_ : *after;
    return {frame, now + (nextStart - intoLoop)};
}

FrameView PictureSource::frameAt(FrameClock::time_point now) {
    if (picture_.frames.empty()) return {};
    const int frame = placeAt(now).frame;
    if (start_ && frame != lastFrame_) {
        const int count = static_cast<int>(picture_.frames.size());
        if (lastFrame_ >= 0) droppedCount_ += (frame - lastFrame_ - 1 + count) % count;
        ++shownCount_;
        lastFrame_ = frame;
    }
    return {picture_.frames[frame].pixels.get(), static_cast<std::uint64_t>(frame) + 1};
}

FrameClock::time_point PictureSource::nextFrameDue(FrameClock::time_point now) const {
    return placeAt(now).nextDue;
}

double PictureSource::frameRate() const {
    if (!picture_.animated() || loopLength_ <= FrameClock::duration::zero()) return 0;
    const double seconds = std::chrono::duration<double>(loopLength_).count();
    return static_cast<double>(picture_.frames.size()) / seconds;
}

double PictureSource::shotSeconds(double preferred) const {
    if (frameStarts_.empty()) return preferred;
    return std::min(preferred, std::chrono::duration<double>(frameStarts_.back()).count());
}

void PictureSource::frameUploaded() {
    if (!picture_.animated() && !picture_.frames.empty()) picture_.frames[0].pixels.reset();
}

std::string PictureSource::statsLine(bool shown) const {
    if (!shown || !picture_.animated()) return {};
    char text[64];
    std::snprintf(text, sizeof text, ": %llu shown, %llu dropped",
                  static_cast<unsigned long long>(shownCount_),
                  static_cast<unsigned long long>(droppedCount_));
    return name_ + text;
}
