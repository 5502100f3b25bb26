#include "feeds/feed_source.h"

#include <thread>

FeedSource::FeedSource(std::unique_ptr<FeedReceiver> receiver, const WallLayout& layout)
    : receiver_(std::move(receiver)), layout_(layout) {
    receiver_->start();
}

FeedSource::~FeedSource() {
    receiver_->stop();
}

// A feed is drawn one LED a pixel; a wall larger than a texture cannot be shrunk without
// losing LEDs, so it is refused instead.
bool FeedSource::fitWithin(int maxSide) {
    return layout_.width <= maxSide && layout_.height <= maxSide;
}

void FeedSource::show(bool shown, FrameClock::time_point) {
    shown_ = shown;
}

FrameView FeedSource::frameAt(FrameClock::time_point) {
    FrameView view;
    view.pixels = receiver_->handover().takeNewest(view.serial);
    return view;
}

FrameClock::time_point FeedSource::nextFrameDue(FrameClock::time_point now) const {
    return shown_ ? now + kFeedPollInterval : kNoFrameDue;
}

std::string FeedSource::statsLine(bool) const {
    return feedStatsLine(protocol(), receiver_->counters());
}

bool FeedSource::waitForFirstFrame(FrameClock::time_point deadline) const {
    while (receiver_->handover().newestSerial() == 0) {
        if (FrameClock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
