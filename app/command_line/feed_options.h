// The command line's live-feed options: where to listen, and the wall the feeds draw on.
#pragma once

#include <string>
#include <vector>

#include "feeds/feed_protocol.h"
#include "feeds/wall_layout.h"

struct FeedOptions {
    std::vector<ListenSpec> listens;  // --listen, in order
    WallLayout layout;           // --wall, --universe, --universe-pixels, --serpentine, --order
    bool universeGiven = false;  // --universe: else each protocol's own first universe
    double waitSeconds = 10;     // --wait: how long --shots waits for a feed's first frame
};

// Takes argv[i] (and its value, advancing i) when it is a feed option: true then, with
// `error` set when its value is wrong. False for any other argument.
bool parseFeedOption(int argc, char** argv, int& i, FeedOptions& options, std::string& error);

// The usage lines of the feed options.
const char* feedUsageText();
