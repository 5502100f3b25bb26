// FlaschenTaschen onto the wall: each datagram's picture drawn at its offset, clipped to the
// wall, and shown at once. On layers above 0 black is transparent, as the protocol's overlays
// use it.
#include <algorithm>
#include <vector>

#include "feeds/decoders.h"
#include "feeds/flaschen_packet.h"

namespace {

class FlaschenDecoder final : public FeedDecoder {
  public:
    FlaschenDecoder(const WallLayout& layout, FeedCounters& counters, FeedOutput& output)
        : layout_(layout), counters_(counters), output_(output), frame_(layout.frameBytes(), 0) {}

    void receive(std::span<const std::uint8_t> datagram, const PeerAddress&,
                 FrameClock::time_point) override {
        const ParsedPacket<FlaschenPacket> parsed = parseFlaschenPacket(datagram);
        if (!parsed.ok()) return FeedCounters::add(counters_.bad);
        draw(parsed.packet);
        output_.publishFrame(frame_.data());
    }

  private:
    void draw(const FlaschenPacket& packet) {
        const long left = std::max<long>(0, -long{packet.x});
        const long right = std::min<long>(packet.width, long{layout_.width} - packet.x);
        const long top = std::max<long>(0, -long{packet.y});
        const long bottom = std::min<long>(packet.height, long{layout_.height} - packet.y);
        const bool blackIsClear = packet.layer > 0;
        const bool scaled = packet.maxValue != 255;
        for (long row = top; row < bottom; ++row) {
            const std::uint8_t* in = packet.pixels.data() + (row * packet.width + left) * 3;
            std::uint8_t* out = frame_.data() +
                                (layout_.height - 1 - (packet.y + row)) * long{layout_.width} * 3 +
                                (packet.x + left) * 3;
            if (!blackIsClear && !scaled) {
                std::copy_n(in, (right - left) * 3, out);
                continue;
            }
            for (long column = left; column < right; ++column, in += 3, out += 3) {
                if (blackIsClear && (in[0] | in[1] | in[2]) == 0) continue;
                for (int c = 0; c < 3; ++c) {
                    out[c] =
                        static_cast<std::uint8_t>(std::min(255, in[c] * 255 / packet.maxValue));
                }
            }
        }
    }

    WallLayout layout_;
    FeedCounters& counters_;
    FeedOutput& output_;
    std::vector<std::uint8_t> frame_;
};

}  // namespace

std::unique_ptr<FeedDecoder> makeFlaschenDecoder(const WallLayout& layout, FeedCounters& counters,
                                                 FeedOutput& output) {
    return std::make_unique<FlaschenDecoder>(layout, counters, output);
}
