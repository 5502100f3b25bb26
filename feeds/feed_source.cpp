// FeedSource: the newest frame taken from the receiver's hand-over, made RGBA with its mipmap
// levels on the display's thread, and the wall refused when it is larger than a texture.
#include "feeds/feed_source.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <thread>

#include "frames/mipmap_chain.h"

namespace {

// Each frame is made RGBA between its arrival and its upload, so this time is the frame's
// latency: with AVX2 where the processor has it, the choice made once as the program loads
// (docs/benchmarks/feeds.md has the figures).
#if defined(__x86_64__) && defined(__linux__) && defined(__GNUC__)
__attribute__((target_clones("avx2", "default")))
#endif
void expandToRgba(const std::uint8_t* rgb, std::uint8_t* rgba, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i, rgb += 3, rgba += 4) {
        if constexpr (std::endian::native == std::endian::little) {
            // One store a pixel: compilers vectorise this, not four byte stores.
            const std::uint32_t texel = rgb[0] | rgb[1] << 8 | rgb[2] << 16 | 0xFF000000u;
            std::memcpy(rgba, &texel, 4);
        } else {
            rgba[0] = rgb[0], rgba[1] = rgb[1], rgba[2] = rgb[2], rgba[3] = 255;
        }
    }
}

}  // namespace

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
    receiver_->setWake(shown ? wake_ : nullptr);
}

void FeedSource::wakeOnFrame(FrameWake wake) {
    wake_ = wake;
    receiver_->setWake(shown_ ? wake_ : nullptr);
}

FrameView FeedSource::frameAt(FrameClock::time_point) {
    std::uint64_t serial = 0;
    FrameClock::time_point cameAt;
    const std::uint8_t* rgb = receiver_->frameSlot().takeNewest(serial, cameAt);
    if (rgb == nullptr) return {};
    if (serial != preparedSerial_) {
        prepare(rgb);
        preparedSerial_ = serial;
        preparedCameAt_ = cameAt;
    }
    return {rgba_.data(), serial, chain_.data()};
}

void FeedSource::frameUploaded() {
    if (preparedSerial_ == uploadedSerial_) return;
    uploadedSerial_ = preparedSerial_;
    const FrameClock::time_point now = FrameClock::now();
    latencies_.add(now, now - preparedCameAt_);
}

// Band by band from the top, so that the level below is worked out from rows still in cache.
// The feed's rows run from the top and the texture's from the bottom: each row is turned over
// as it is made RGBA.
void FeedSource::prepare(const std::uint8_t* rgb) {
    constexpr int kBandRows = 16;
    const int width = layout_.width, height = layout_.height;
    const std::size_t rowPixels = width;
    rgba_.resize(4 * rowPixels * height);
    chain_.resize(mipmapChainBytes(width, height, 4));
    MipmapChainWriter mipmaps(rgba_.data(), width, height, chain_.data(), 4);
    for (int top = height; top > 0; top -= kBandRows) {
        const int first = std::max(0, top - kBandRows);
        for (int row = top - 1; row >= first; --row) {
            expandToRgba(rgb + 3 * rowPixels * (height - 1 - row),
                         rgba_.data() + 4 * rowPixels * row, rowPixels);
        }
        mipmaps.rowsDone(first, top - first);
    }
    mipmaps.finish();
}

FrameClock::time_point FeedSource::nextFrameDue(FrameClock::time_point now) const {
    return shown_ && wake_ == nullptr ? now + kFeedPollInterval : kNoFrameDue;
}

std::string FeedSource::statsLine(bool) const {
    std::string line = feedStatsLine(receiver_->spec().protocol, receiver_->counters());
    if (const auto median = latencies_.medianMilliseconds(FrameClock::now())) {
        char latency[48];
        std::snprintf(latency, sizeof latency, ", %.1f ms latency", *median);
        line += latency;
    }
    return line;
}

bool FeedSource::waitForFirstFrame(FrameClock::time_point deadline) const {
    while (receiver_->frameSlot().newestSerial() == 0) {
        if (FrameClock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
