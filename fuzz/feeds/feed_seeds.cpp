// Writes the seeds of the feed targets' corpora: whole sessions of each protocol as senders
// send them, laid out as its public packet layouts give (E1.31 data, sync and discovery;
// ArtDmx, ArtSync, ArtPoll; DDP headers with and without a time code; P6 pictures with offsets).
//   feed_fuzz_seeds write FOLDER    writes FOLDER/<protocol>/seed-*
//   feed_fuzz_seeds check FOLDER    exit status 1 unless FOLDER holds them bit for bit
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "feeds/byte_fields.h"
#include "fuzz/feeds/feed_input.h"
#include "fuzz/generated_corpus.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Seed {
    std::string path;  // protocol/name
    Bytes bytes;
};

// A session: the wall's header, then datagrams with their steps.
struct Session {
    Bytes bytes;
    explicit Session(const WallLayout& layout) : bytes(feedInputHeader(layout)) {}
    Session& send(const Bytes& datagram, int stepMs = 0, bool otherPort = false) {
        appendFeedRecord(bytes, datagram, stepMs, otherPort);
        return *this;
    }
};

WallLayout wall(int width, int height, int universePixels = kMaxUniversePixels,
                int firstUniverse = 1, bool serpentine = false,
                ChannelOrder order = ChannelOrder::rgb) {
    WallLayout layout;
    layout.width = width;
    layout.height = height;
    layout.universePixels = universePixels;
    layout.firstUniverse = firstUniverse;
    layout.serpentine = serpentine;
    layout.order = order;
    return layout;
}

// Levels of a pattern that differs by frame and place, so frames are told apart.
Bytes levels(std::size_t count, int frame) {
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(i * 7 + frame * 31);
    return out;
}

void put16(Bytes& out, std::size_t at, unsigned value) {
    writeBigEndian16(&out[at], static_cast<std::uint16_t>(value));
}
void put32(Bytes& out, std::size_t at, std::uint32_t value) {
    writeBigEndian32(&out[at], value);
}

// E1.31: root layer (preamble, postamble, "ASC-E1.17", flags and length, vector, CID), then
// the framing layer its vector names.
Bytes sacnRoot(std::size_t bytes, std::uint32_t vector, std::uint8_t cid) {
    Bytes out(bytes, 0);
    put16(out, 0, 0x0010);
    std::memcpy(&out[4], "ASC-E1.17", 9);
    put16(out, 16, 0x7000 | unsigned(bytes - 16));
    put32(out, 18, vector);
    for (int i = 0; i < 16; ++i) out[22 + i] = static_cast<std::uint8_t>(cid + i);
    put16(out, 38, 0x7000 | unsigned(bytes - 38));
    return out;
}

struct SacnData {
    int universe = 1;
    int sequence = 0;
    int priority = 100;
    int syncAddress = 0;
    std::uint8_t cid = 0x10;
    std::uint8_t options = 0;  // 0x80 preview, 0x40 stream terminated
    std::uint8_t startCode = 0;
};

Bytes sacnData(const SacnData& d, const Bytes& channels) {
    Bytes out = sacnRoot(126 + channels.size(), 0x00000004, d.cid);
    put32(out, 40, 0x00000002);
    std::memcpy(&out[44], "seed sender", 11);  // source name, 64 bytes
    out[108] = static_cast<std::uint8_t>(d.priority);
    put16(out, 109, unsigned(d.syncAddress));
    out[111] = static_cast<std::uint8_t>(d.sequence);
    out[112] = d.options;
    put16(out, 113, unsigned(d.universe));
    // DMP layer: set property, address and data type 0xA1, first address 0, increment 1.
    put16(out, 115, 0x7000 | unsigned(out.size() - 115));
    out[117] = 0x02;
    out[118] = 0xA1;
    put16(out, 121, 1);
    put16(out, 123, unsigned(channels.size() + 1));
    out[125] = d.startCode;
    std::copy(channels.begin(), channels.end(), out.begin() + 126);
    return out;
}

Bytes sacnSync(int sequence, int syncAddress, std::uint8_t cid = 0x10) {
    Bytes out = sacnRoot(49, 0x00000008, cid);
    put32(out, 40, 0x00000001);
    out[44] = static_cast<std::uint8_t>(sequence);
    put16(out, 45, unsigned(syncAddress));
    return out;
}

// Universe discovery: framing layer, then a discovery layer listing `universes`.
Bytes sacnDiscovery(const std::vector<int>& universes) {
    Bytes out = sacnRoot(120 + 2 * universes.size(), 0x00000008, 0x10);
    put32(out, 40, 0x00000002);
    std::memcpy(&out[44], "seed sender", 11);
    put16(out, 112, 0x7000 | unsigned(out.size() - 112));
    put32(out, 114, 0x00000001);
    for (std::size_t i = 0; i < universes.size(); ++i)
        put16(out, 120 + 2 * i, unsigned(universes[i]));
    return out;
}

// Art-Net: "Art-Net", the op code little-endian, protocol version 14.
Bytes artnetHeader(std::size_t bytes, std::uint16_t opCode) {
    Bytes out(bytes, 0);
    std::memcpy(out.data(), "Art-Net", 8);
    writeLittleEndian16(&out[8], opCode);
    put16(out, 10, 14);
    return out;
}

Bytes artDmx(int portAddress, int sequence, const Bytes& channels) {
    Bytes out = artnetHeader(18 + channels.size(), 0x5000);
    out[12] = static_cast<std::uint8_t>(sequence);
    out[14] = static_cast<std::uint8_t>(portAddress & 0xFF);  // sub-net and universe
    out[15] = static_cast<std::uint8_t>(portAddress >> 8);    // net
    put16(out, 16, unsigned(channels.size()));
    std::copy(channels.begin(), channels.end(), out.begin() + 18);
    return out;
}

Bytes artSync() {
    return artnetHeader(14, 0x5200);
}
Bytes artPoll() {
    Bytes out = artnetHeader(14, 0x2000);
    out[12] = 0x02;  // flags: send a reply when the node's state changes
    return out;
}

// DDP: flags (version 1, time code, push), sequence, data type (RGB, 8 bits), id, offset,
// length, then the time code when flagged.
Bytes ddp(std::uint32_t offset, const Bytes& data, int sequence, bool push, bool timeCode = false,
          std::uint8_t destination = 1) {
    const std::size_t header = timeCode ? 14 : 10;
    Bytes out(header + data.size(), 0);
    out[0] = static_cast<std::uint8_t>(0x40 | (timeCode ? 0x10 : 0) | (push ? 0x01 : 0));
    out[1] = static_cast<std::uint8_t>(sequence & 0x0F);
    out[2] = 0x0B;
    out[3] = destination;
    put32(out, 4, offset);
    put16(out, 8, unsigned(data.size()));
    if (timeCode) put32(out, 10, 0x00010000);
    std::copy(data.begin(), data.end(), out.begin() + header);
    return out;
}

Bytes ddpQuery() {
    Bytes out(10, 0);
    out[0] = 0x42;  // version 1, query
    out[3] = 251;   // JSON status
    return out;
}

// FlaschenTaschen: a P6 picture; the offset in a "#FT:" comment or as a footer after it.
enum class Offset { none, comment, footer };

Bytes flaschen(int width, int height, int x, int y, int layer, Offset where, int maxValue = 255,
               int frame = 0, bool black = false) {
    std::string header = "P6\n";
    const std::string offset =
        std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(layer);
    if (where == Offset::comment) header += "#FT: " + offset + "\n";
    header += std::to_string(width) + " " + std::to_string(height) + "\n" +
              std::to_string(maxValue) + "\n";
    Bytes out(header.begin(), header.end());
    Bytes pixels = levels(std::size_t{3} * width * height, frame);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(pixels[i] % (maxValue + 1));
        if (black && i / 3 % 2 == 0) pixels[i] = 0;  // every second pixel black
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    if (where == Offset::footer) {
        const std::string footer = "\n" + offset + "\n";
        out.insert(out.end(), footer.begin(), footer.end());
    }
    return out;
}

std::vector<Seed> sacnSeeds() {
    std::vector<Seed> seeds;
    // Four universes of 50 pixels on a serpentine 20 × 10 wall in GRB, held for sync address
    // 7 and shown by its sync packets; then the sender stops synchronising.
    {
        Session s(wall(20, 10, 50, 1, true, ChannelOrder::grb));
        // Sequence numbers run per source and universe.
        for (int frame = 0; frame < 2; ++frame) {
            for (int u = 1; u <= 4; ++u)
                s.send(sacnData({.universe = u, .sequence = frame, .syncAddress = 7},
                                levels(150, frame)),
                       u == 1 ? 25 : 1);
            s.send(sacnSync(frame, 7), 2);
        }
        for (int u = 1; u <= 4; ++u)
            s.send(sacnData({.universe = u, .sequence = 2}, levels(150, 2)), 1);
        s.send(sacnDiscovery({1, 2, 3, 4}), 5);
        seeds.push_back({"sacn/seed-sync-four-universes", s.bytes});
    }
    // Two sources on universe 5 of a 3-universe wall from 4: the higher priority wins, the
    // lower one takes over when the higher terminates, and after 2.5 s of silence a source
    // starts afresh; a packet one step back is dropped, a jump counts lost packets.
    {
        Session s(wall(17, 10, 60, 4));
        const SacnData low{.universe = 5, .sequence = 1, .priority = 100, .cid = 0x20};
        const SacnData high{.universe = 5, .sequence = 1, .priority = 150, .cid = 0x40};
        s.send(sacnData(low, levels(180, 0)), 10);
        s.send(sacnData(high, levels(180, 1)), 5);
        s.send(sacnData({.universe = 4, .sequence = 9}, levels(180, 1)), 1);
        s.send(sacnData({.universe = 6, .sequence = 9}, levels(30, 1)), 1);
        SacnData next = low;
        next.sequence = 2;
        s.send(sacnData(next, levels(180, 2)), 30);
        SacnData back = high;
        back.sequence = 0;
        s.send(sacnData(back, levels(180, 3)), 5);
        SacnData jump = high;
        jump.sequence = 12;
        s.send(sacnData(jump, levels(180, 4)), 5);
        SacnData ended = high;
        ended.sequence = 13;
        ended.options = 0x40;
        s.send(sacnData(ended, {}), 5);
        next.sequence = 3;
        s.send(sacnData(next, levels(90, 5)), 30);
        SacnData preview = high;
        preview.sequence = 14;
        preview.options = 0x80;
        s.send(sacnData(preview, levels(180, 6)), 5);
        next.sequence = 4;
        s.send(sacnData(next, levels(180, 7)), 2600);
        SacnData priorities = next;
        priorities.sequence = 5;
        priorities.startCode = 0xDD;  // per-channel priority, not levels
        s.send(sacnData(priorities, levels(180, 0)), 5);
        s.send(sacnData({.universe = 7, .sequence = 1}, levels(180, 0)), 5);  // beyond the wall
        seeds.push_back({"sacn/seed-priority-and-loss", s.bytes});
    }
    // Nine sources on one universe at once: one more than are tracked, so the ninth is ignored;
    // one that terminates makes room, and comes back at the highest priority.
    {
        Session s(wall(10, 1));
        for (int source = 0; source < 9; ++source)
            s.send(sacnData({.universe = 1,
                             .priority = 100 + source,
                             .cid = static_cast<std::uint8_t>(0x10 * (source + 1))},
                            levels(30, source)),
                   source == 0 ? 10 : 1);
        s.send(sacnData({.universe = 1, .sequence = 1, .cid = 0x10, .options = 0x40}, {}), 1);
        s.send(
            sacnData({.universe = 1, .sequence = 1, .priority = 200, .cid = 0x10}, levels(30, 9)),
            1);
        seeds.push_back({"sacn/seed-nine-sources", s.bytes});
    }
    // A universe cut short and a frame whose last universe never comes: shown after 25 ms,
    // and after 1 s when the frame waits for a sync packet that never comes.
    {
        Session s(wall(8, 8, 16, 1, true, ChannelOrder::bgr));
        for (int u = 1; u <= 4; ++u)
            s.send(sacnData({.universe = u, .sequence = 0}, levels(48, 0)), 1);
        s.send(sacnData({.universe = 1, .sequence = 1}, levels(12, 1)), 30);
        s.send(sacnData({.universe = 2, .sequence = 1}, levels(48, 1)), 1);
        s.send(sacnData({.universe = 1, .sequence = 2, .syncAddress = 9}, levels(48, 2)), 40);
        s.send(sacnSync(1, 8), 5);
        s.send(sacnData({.universe = 2, .sequence = 2, .syncAddress = 9}, levels(48, 2)), 1200);
        s.send(sacnSync(2, 9), 5);
        seeds.push_back({"sacn/seed-partial-frames", s.bytes});
    }
    return seeds;
}

std::vector<Seed> artnetSeeds() {
    std::vector<Seed> seeds;
    // Six universes of 32 pixels from port address 14 (crossing into the next sub-net) on a
    // serpentine 16 × 12 wall: polled from another port, free-running frames, then ArtSync
    // frames, then the syncs stop and after 4 s frames run free again.
    {
        Session s(wall(16, 12, 32, 14, true, ChannelOrder::rbg));
        s.send(artPoll(), 0, true);
        s.send(artPoll(), 90, true);  // within the poll interval: not answered again
        // Sequence numbers run per universe, 1 to 255.
        for (int frame = 0; frame < 2; ++frame)
            for (int u = 0; u < 6; ++u)
                s.send(artDmx(14 + u, frame + 1, levels(96, frame)), u == 0 ? 25 : 1);
        for (int frame = 2; frame < 4; ++frame) {
            s.send(artSync(), 25);
            for (int u = 0; u < 6; ++u) s.send(artDmx(14 + u, frame + 1, levels(96, frame)), 1);
        }
        s.send(artSync(), 2);
        s.send(artDmx(14, 9, levels(96, 4)), 4200);  // four lost
        s.send(artDmx(15, 0, levels(40, 4)), 1);
        s.send(artPoll(), 400);
        s.send(artnetHeader(19, 0x9700), 5);  // ArtTimeCode: not the wall's business
        seeds.push_back({"artnet/seed-six-universes", s.bytes});
    }
    // A wall of 40 one-pixel universes from port address 0x0110: polled (ten replies of four
    // ports), frames with short universes (ArtDmx carries an even count of levels, so a
    // one-pixel universe comes as four) and missing ones shown after 25 ms, sequence numbers
    // that wrap from 255 to 1, and a packet of a universe beyond the wall.
    {
        Session s(wall(8, 5, 1, 0x0110));
        s.send(artPoll(), 0);
        for (int u = 0; u < 40; ++u)
            s.send(artDmx(0x0110 + u, 255, levels(u % 2 ? 2 : 4, u)), u == 0 ? 25 : 0);
        for (int u = 0; u < 20; ++u) s.send(artDmx(0x0110 + u, 1, levels(4, u)), u == 0 ? 10 : 0);
        s.send(artDmx(0x0110 + 40, 0, levels(4, 0)), 40);
        seeds.push_back({"artnet/seed-one-pixel-universes", s.bytes});
    }
    return seeds;
}

std::vector<Seed> ddpSeeds() {
    std::vector<Seed> seeds;
    // Frames of a 32 × 16 wall over three packets each, pushed by the last; the second frame
    // with a time code and a packet resent; the third leaves a gap and redraws a part.
    {
        Session s(wall(32, 16));
        const std::uint32_t third = 32 * 16;  // bytes a packet: a third of the frame
        int sequence = 0;
        for (int frame = 0; frame < 2; ++frame) {
            for (int part = 0; part < 3; ++part) {
                sequence = sequence % 15 + 1;
                const Bytes data = levels(third, frame * 3 + part);
                s.send(ddp(part * third, data, sequence, part == 2, frame == 1), part ? 1 : 25);
                if (frame == 1 && part == 0) s.send(ddp(0, data, sequence, false, true), 0);
            }
        }
        s.send(ddp(0, levels(third, 7), 1, false), 25);
        s.send(ddp(2 * third, levels(third / 2, 8), 2, false), 1);
        s.send(ddp(third, levels(third, 9), 5, false), 1);
        s.send(ddp(0, levels(96, 10), 6, true), 1);
        s.send(ddp(0, {}, 9, true), 5);  // a push alone, as senders end a frame
        s.send(ddpQuery(), 5);
        s.send(ddp(0, levels(96, 11), 7, true, false, 250), 5);  // another destination
        s.send(ddp(3 * third - 3, levels(6, 12), 8, true), 5);   // past the wall's end
        seeds.push_back({"ddp/seed-frames-over-packets", s.bytes});
    }
    // A sender that never pushes and numbers nothing: frames shown as a packet reaches the
    // wall's last byte.
    {
        Session s(wall(10, 6));
        for (int frame = 0; frame < 2; ++frame) {
            s.send(ddp(0, levels(90, frame), 0, false), 25);
            s.send(ddp(90, levels(90, frame), 0, false), 1);
        }
        seeds.push_back({"ddp/seed-never-pushed", s.bytes});
    }
    return seeds;
}

std::vector<Seed> flaschenSeeds() {
    std::vector<Seed> seeds;
    // Pictures at offsets on a 16 × 8 wall: the whole wall, one part by a comment and one by
    // a footer, overlays whose black leaves the wall as it was, 4-bit levels, a picture that
    // hangs over the edges, and one wholly above the wall.
    Session s(wall(16, 8));
    s.send(flaschen(16, 8, 0, 0, 0, Offset::none), 25);
    s.send(flaschen(5, 3, 4, 2, 0, Offset::comment, 255, 1), 25);
    s.send(flaschen(6, 4, 9, 3, 0, Offset::footer, 255, 2), 25);
    s.send(flaschen(8, 8, 2, 0, 1, Offset::comment, 255, 3, true), 25);
    s.send(flaschen(4, 4, 12, 4, 2, Offset::footer, 15, 4), 25);
    s.send(flaschen(20, 10, -2, -1, 0, Offset::footer, 255, 5), 25);
    s.send(flaschen(6, 3, 13, 6, 0, Offset::comment, 255, 6), 25);
    s.send(flaschen(4, 2, 3, -5, 0, Offset::footer, 255, 7), 25);
    s.send(flaschen(3, 3, -1, 6, 3, Offset::footer, 7, 8, true), 25);
    seeds.push_back({"flaschen/seed-offsets-and-layers", s.bytes});
    // Rows wide enough for the streaming copy, on a 120 × 4 wall: the whole wall, then a
    // narrower band over it.
    Session wide(wall(120, 4));
    wide.send(flaschen(120, 4, 0, 0, 0, Offset::none), 25);
    wide.send(flaschen(100, 2, 10, 1, 0, Offset::comment, 255, 1), 25);
    seeds.push_back({"flaschen/seed-wide-rows", wide.bytes});
    return seeds;
}

std::vector<Seed> feedSeeds() {
    std::vector<Seed> seeds;
    for (auto make : {sacnSeeds, artnetSeeds, ddpSeeds, flaschenSeeds}) {
        for (Seed& seed : make()) seeds.push_back(std::move(seed));
    }
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<GeneratedFile> files;
    for (Seed& made : feedSeeds()) files.push_back({std::move(made.path), std::move(made.bytes)});
    return writeOrCheckCorpus(argc, argv, "feed_fuzz_seeds", files);
}
