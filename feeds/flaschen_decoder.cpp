// FlaschenTaschen onto the wall: each datagram's picture drawn at its offset, clipped to the
// wall, and shown at once. On layers above 0 black is transparent, as the protocol's overlays
// use it.
#include <algorithm>

#include "feeds/decoders.h"
#include "feeds/flaschen_packet.h"
#include "feeds/frame_canvas.h"
#include "feeds/streaming_copy.h"

namespace {

class FlaschenDecoder final : public FeedDecoder {
  public:
    FlaschenDecoder(const WallLayout& layout, FeedCounters& counters, FeedOutput& output)
        : layout_(layout), counters_(counters), canvas_(layout.frameBytes(), output) {}

    void receive(std::span<const std::uint8_t> datagram, const PeerAddress&,
                 FrameClock::time_point) override {
        const ParsedPacket<FlaschenPacket> parsed = parseFlaschenPacket(datagram);
        if (!parsed.ok()) return FeedCounters::add(counters_.bad);
        if (canvas_.stale() && !coversWall(parsed.packet)) canvas_.restoreAll();
        draw(parsed.packet);
        canvas_.handOver();
    }

  private:
    bool coversWall(const FlaschenPacket& packet) const {
        return packet.layer == 0 && packet.x <= 0 && packet.y <= 0 &&
               long{packet.x} + packet.width >= layout_.width &&
               long{packet.y} + packet.height >= layout_.height;
    }

    void draw(const FlaschenPacket& packet) {
        const long left = std::max<long>(0, -long{packet.x});
        const long right = std::min<long>(packet.width, long{layout_.width} - packet.x);
        const long top = std::max<long>(0, -long{packet.y});
        const long bottom = std::min<long>(packet.height, long{layout_.height} - packet.y);
        if (left >= right) return;  // wholly beside the wall
        const bool blackIsClear = packet.layer > 0;
        const bool scaled = packet.maxValue != 255;
        for (long row = top; row < bottom; ++row) {
            const std::uint8_t* in = packet.pixels.data() + (row * packet.width + left) * 3;
            std::uint8_t* out = canvas_.pixels() + (packet.y + row) * long{layout_.width} * 3 +
                                (packet.x + left) * 3;
            if (!blackIsClear && !scaled) {
                copyStreaming(out, in, std::size_t(right - left) * 3);
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
    FrameCanvas canvas_;
};

}  // namespace

std::unique_ptr<FeedDecoder> makeFlaschenDecoder(const WallLayout& layout, FeedCounters& counters,
                                                 FeedOutput& output) {
    return std::make_unique<FlaschenDecoder>(layout, counters, output);
}
