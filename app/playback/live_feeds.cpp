// Opens every --listen as a feed before the window does, and with --shots waits, up to the
// wait given, for each feed's first frame, naming on standard error every feed that sent none.
#include "app/playback/live_feeds.h"

#include <chrono>
#include <cstdio>

#include "feeds/feed_source.h"

bool openLiveFeeds(const FeedOptions& options, std::vector<Content>& contents) {
    std::vector<Content> feeds;
    for (const ListenSpec& spec : options.listens) {
        WallLayout layout = options.layout;
        // Art-Net counts port addresses from 0, sACN universes from 1.
        if (!options.universeGiven)
            layout.firstUniverse = spec.protocol == FeedProtocol::artnet ? 0 : 1;
        std::string error;
        std::vector<std::string> notices;
        auto receiver = FeedReceiver::open(spec, layout, error, notices);
        for (const std::string& notice : notices) std::fprintf(stderr, "%s\n", notice.c_str());
        if (!receiver) {
            std::fprintf(stderr, "Error: %s\n", error.c_str());
            return false;
        }
        feeds.push_back({protocolName(spec.protocol),
                         std::make_unique<FeedSource>(std::move(receiver), layout)});
    }
    for (Content& content : contents) feeds.push_back(std::move(content));
    contents = std::move(feeds);
    return true;
}

bool waitForLiveFeeds(const FeedOptions& options, bool stats, std::vector<Content>& contents) {
    const auto deadline =
        FrameClock::now() + std::chrono::duration_cast<FrameClock::duration>(
                                std::chrono::duration<double>(options.waitSeconds));
    const auto cameNot = [&](const Content& content) {
        if (content.source->waitForFirstFrame(deadline)) return false;
        std::fprintf(stderr, "Error: %s: no frame came in %g s\n", content.name.c_str(),
                     options.waitSeconds);
        if (stats) std::fprintf(stderr, "%s\n", content.source->statsLine(false).c_str());
        return true;
    };
    return std::erase_if(contents, cameNot) == 0;
}
