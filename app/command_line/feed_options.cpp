// The live-feed options read one at a time from the command line: each value checked against
// its range (wall sides, universes, pixels a universe, channel orders, the wait), with a
// message naming the option and the range when it is out of it.
#include "app/command_line/feed_options.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "feeds/sacn_packet.h"

namespace {

constexpr double kMaxWaitSeconds = 3600;

bool parseInt(std::string_view text, int low, int high, int& value) {
    int parsed = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (failure != std::errc{} || end != text.data() + text.size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

bool parseWall(std::string_view text, WallLayout& layout) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    int width = 0, height = 0;
    if (!parseInt(text.substr(0, x), 1, kMaxWallSide, width) ||
        !parseInt(text.substr(x + 1), 1, kMaxWallSide, height))
        return false;
    layout.width = width;
    layout.height = height;
    return true;
}

}  // namespace

bool parseFeedOption(int argc, char** argv, int& i, FeedOptions& options, std::string& error) {
    const std::string_view option = argv[i];
    if (option == "--serpentine") {
        options.layout.serpentine = true;
        return true;
    }
    if (option != "--listen" && option != "--wall" && option != "--universe" &&
        option != "--universe-pixels" && option != "--order" && option != "--wait")
        return false;
    if (i + 1 >= argc) {
        error = std::string(option) + " needs a value";
        return true;
    }
    const std::string_view value = argv[++i];
    if (option == "--listen") {
        if (auto spec = parseListenSpec(value, error)) options.listens.push_back(*spec);
    } else if (option == "--wall") {
        if (!parseWall(value, options.layout))
            error = "--wall needs WIDTHxHEIGHT, each side from 1 to " +
                    std::to_string(kMaxWallSide) + " LEDs";
    } else if (option == "--universe") {
        if (!parseInt(value, 0, kSacnMaxUniverse, options.layout.firstUniverse))
            error = "--universe needs a number from 0 to " + std::to_string(kSacnMaxUniverse);
        options.universeGiven = true;
    } else if (option == "--universe-pixels") {
        if (!parseInt(value, 1, kMaxUniversePixels, options.layout.universePixels))
            error =
                "--universe-pixels needs a number from 1 to " + std::to_string(kMaxUniversePixels);
    } else if (option == "--order") {
        if (auto order = parseChannelOrder(value)) {
            options.layout.order = *order;
        } else {
            error = "--order needs RGB, RBG, GRB, GBR, BRG or BGR";
        }
    } else {
        double seconds = 0;
        const std::string copy(value);
        char rest = 0;
        if (std::sscanf(copy.c_str(), "%lf%c", &seconds, &rest) != 1 || !(seconds >= 0) ||
            seconds > kMaxWaitSeconds) {
            error = "--wait needs a number of seconds from 0 to 3600";
        } else {
            options.waitSeconds = seconds;
        }
    }
    return true;
}

const char* feedUsageText() {
    return "  --listen PROTOCOL[=ADDRESS][:PORT]\n"
           "                   receive a live feed (ddp 4048, sacn 5568, artnet 6454,\n"
           "                   flaschen 1337) on 127.0.0.1, or on ADDRESS ([::1] for IPv6);\n"
           "                   repeatable; each feed is a picture before the files\n"
           "  --wall WxH       the feeds' wall in LEDs (default 64x32)\n"
           "  --universe N     the wall's first DMX universe (default 1 sACN, 0 Art-Net)\n"
           "  --universe-pixels N  pixels a universe (default 170)\n"
           "  --serpentine     every second row runs right to left\n"
           "  --order ORDER    channel order RGB, RBG, GRB, GBR, BRG or BGR (default RGB)\n"
           "  --wait SECONDS   with --shots, how long to wait for a feed's first frame (10)\n";
}
