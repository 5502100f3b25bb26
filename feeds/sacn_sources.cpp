// The sACN sources of each universe: sequence order per source, the highest priority source
// followed, and sources released when they stop or go quiet.
#include "feeds/sacn_sources.h"

#include <algorithm>

namespace {

// E1.31: a sequence number between 20 behind and equal to the last is out of order; further
// behind counts as a restarted source.
bool isOutOfOrder(int last, int next) {
    const int difference = static_cast<std::int8_t>(static_cast<std::uint8_t>(next - last));
    return difference <= 0 && difference > -20;
}

}  // namespace

SacnVerdict SacnSources::accept(int universeIndex, const SacnPacket& packet,
                                FrameClock::time_point now) {
    std::vector<Source>& sources = universes_[universeIndex];
    std::erase_if(sources, [&](const Source& s) { return now - s.lastSeen > kSacnSourceTimeout; });
    auto source = std::find_if(sources.begin(), sources.end(),
                               [&](const Source& s) { return s.id == packet.source; });
    SacnVerdict verdict;
    if (packet.terminated) {
        if (source != sources.end()) sources.erase(source);
        return verdict;
    }
    if (source == sources.end()) {
        if (sources.size() >= kSacnMaxSourcesPerUniverse) {
            verdict.dropped = true;
            return verdict;
        }
        sources.push_back({packet.source, packet.priority, packet.sequence, now});
        source = sources.end() - 1;
    } else {
        if (isOutOfOrder(source->sequence, packet.sequence)) {
            verdict.dropped = true;
            return verdict;
        }
        const int step = static_cast<std::uint8_t>(packet.sequence - source->sequence);
        if (step < 128) verdict.lost = step - 1;
        source->sequence = packet.sequence;
        source->priority = packet.priority;
        source->lastSeen = now;
    }
    int highest = 0;
    for (const Source& s : sources) highest = std::max(highest, s.priority);
    verdict.apply = source->priority >= highest;
    return verdict;
}
