// The four decoders behind makeFeedDecoder, one file each.
#pragma once

#include <memory>

#include "feeds/feed_decoder.h"

std::unique_ptr<FeedDecoder> makeDdpDecoder(const WallLayout& layout, FeedCounters& counters,
                                            FeedOutput& output);
std::unique_ptr<FeedDecoder> makeSacnDecoder(const WallLayout& layout, FeedCounters& counters,
                                             FeedOutput& output);
std::unique_ptr<FeedDecoder> makeArtnetDecoder(const WallLayout& layout, FeedCounters& counters,
                                               FeedOutput& output);
std::unique_ptr<FeedDecoder> makeFlaschenDecoder(const WallLayout& layout, FeedCounters& counters,
                                                 FeedOutput& output);
