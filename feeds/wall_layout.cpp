// The wall's addressing: DMX channels onto a frame stored as senders address the wall, rows
// from the top.
#include "feeds/wall_layout.h"

#include <algorithm>
#include <cstring>

namespace {

struct OrderName {
    std::string_view name;
    ChannelOrder order;
    int red, green, blue;  // where each colour sits among a pixel's three channels
};

constexpr OrderName kOrders[] = {
    {"RGB", ChannelOrder::rgb, 0, 1, 2}, {"RBG", ChannelOrder::rbg, 0, 2, 1},
    {"GRB", ChannelOrder::grb, 1, 0, 2}, {"GBR", ChannelOrder::gbr, 2, 0, 1},
    {"BRG", ChannelOrder::brg, 1, 2, 0}, {"BGR", ChannelOrder::bgr, 2, 1, 0},
};

const OrderName& orderOf(ChannelOrder order) {
    return kOrders[static_cast<int>(order)];
}

}  // namespace

std::optional<ChannelOrder> parseChannelOrder(std::string_view text) {
    for (const OrderName& entry : kOrders) {
        if (entry.name == text) return entry.order;
    }
    return std::nullopt;
}

void drawUniverse(const WallLayout& layout, int universeIndex,
                  std::span<const std::uint8_t> channels, std::uint8_t* frame) {
    const long wallPixels = long{layout.width} * layout.height;
    const long first = long{universeIndex} * layout.universePixels;
    long left =
        std::min<long>({long(channels.size() / 3), layout.universePixels, wallPixels - first});
    const OrderName& order = orderOf(layout.order);
    const bool plain = layout.order == ChannelOrder::rgb;
    const std::size_t rowBytes = std::size_t{3} * layout.width;
    int row = static_cast<int>(first / layout.width);
    int column = static_cast<int>(first % layout.width);
    const std::uint8_t* in = channels.data();
    // A run at a time: the universe's pixels that fall in one row.
    while (left > 0) {
        const int run = static_cast<int>(std::min<long>(left, layout.width - column));
        const bool backwards = layout.serpentine && (row & 1);
        std::uint8_t* rowStart = frame + row * rowBytes;
        if (!backwards && plain) {
            std::memcpy(rowStart + std::size_t{3} * column, in, std::size_t{3} * run);
        } else {
            const int step = backwards ? -3 : 3;
            std::uint8_t* out =
                rowStart + std::size_t{3} * (backwards ? layout.width - 1 - column : column);
            for (int k = 0; k < run; ++k, out += step) {
                out[0] = in[3 * k + order.red];
                out[1] = in[3 * k + order.green];
                out[2] = in[3 * k + order.blue];
            }
        }
        in += std::size_t{3} * run;
        left -= run;
        column = 0;
        ++row;
    }
}
