// makeFeedDecoder: the decoder of the protocol asked for.
#include "feeds/feed_decoder.h"

#include "feeds/decoders.h"

std::unique_ptr<FeedDecoder> makeFeedDecoder(FeedProtocol protocol, const WallLayout& layout,
                                             FeedCounters& counters, FeedOutput& output) {
    switch (protocol) {
        case FeedProtocol::ddp:
            return makeDdpDecoder(layout, counters, output);
        case FeedProtocol::sacn:
            return makeSacnDecoder(layout, counters, output);
        case FeedProtocol::artnet:
            return makeArtnetDecoder(layout, counters, output);
        case FeedProtocol::flaschen:
            return makeFlaschenDecoder(layout, counters, output);
    }
    return nullptr;
}
