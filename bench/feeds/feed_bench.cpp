// Live feeds at show rates over loopback: a sender in this process sends whole frames at a
// fixed rate to the real receiver, and in the same run the same traffic to a bare receiver
// loop (the same sockets, receiving into buffers, nothing parsed: the floor). The display's
// side is the program's own: the feed as the chosen picture of the catalogue, followed by the
// program's frame timer and refreshed in place by its code in a GLUT window, woken by the
// feed through the X server. Reported per protocol: frames lost, the receiver thread's CPU
// time against the floor's, and the time from a frame's last packet sent to its texture
// update having finished (glFinish).
// The `display/` runs set the woken display against the display polled every 1 ms, as it was
// before its sources could wake it, in turns: the same latency, the part of it --stats gives
// (from the receiver taking the last packet), and the whole process's CPU time while a shown
// feed gets nothing (idle_cpu_percent).
// The floor runs three times. Once beside the same display work as the receiver had: a frame
// of the wall's size handed over after each frame's last packet, taken, made RGBA with its
// levels and uploaded by the same code at the same rate, so that the two passes share the
// machine alike and differ only in the receiver's own work (cpu_ratio). Once bare, with no
// display work, as the floor was first measured (cpu_ratio_bare), though the display's work
// shares the two cores, their caches and the memory with the receiver, which a bare floor
// never has. And once delivering (cpu_ratio_delivering): beside the display, the floor itself
// copies each datagram's levels into the frame it hands over, in the order they came and as the
// receiver copies them, which any receiver must do at least; what the receiver costs beyond
// that is its protocol's rules.
// Each pass runs in rounds of 2 s taken in turns with the floors', summed: three rounds, and
// five for FlaschenTaschen, whose floor is a few microseconds a frame and swings with the
// machine's load.
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./build-bench/feed_bench
#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/resource.h>

#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/glut_window.h"
#include "app/playback/content_playback.h"
#include "app/playback/display_wake.h"
#include "app/playback/picture_texture.h"
#include "feeds/ddp_packet.h"
#include "feeds/feed_source.h"
#include "feeds/streaming_copy.h"
#include "tests/support/feed_packets.h"

using namespace testsupport;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kRunTime = std::chrono::seconds(2);

// How the display learns of a feed's new frame: woken by it, as the program runs now, or
// polled every kFeedPollInterval by its frame timer, as it did before (and still does when
// the system offers no way to wake it).
enum class DisplayMode { wake, poll };

struct Scenario {
    FeedProtocol protocol;
    int width, height, framesPerSecond;
    int rounds = 3;  // of kRunTime each
    DisplayMode mode = DisplayMode::wake;
};

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec * 1e-9;
}

// The datagrams of frame `k`: every pixel's levels change from frame to frame.
std::vector<Bytes> frameDatagrams(const Scenario& s, int k) {
    const std::size_t bytes = std::size_t{3} * s.width * s.height;
    std::vector<Bytes> datagrams;
    const auto level = [k](std::size_t i) { return std::uint8_t(i * 7 + k); };
    switch (s.protocol) {
        case FeedProtocol::ddp:
            for (std::size_t at = 0; at < bytes; at += 1440) {
                const std::size_t n = std::min<std::size_t>(1440, bytes - at);
                Bytes data(n);
                for (std::size_t i = 0; i < n; ++i) data[i] = level(at + i);
                datagrams.push_back(
                    ddpPacket(std::uint32_t(at), data, at + n == bytes, k % 15 + 1));
            }
            break;
        case FeedProtocol::sacn:
        case FeedProtocol::artnet:
            for (std::size_t at = 0, u = 0; at < bytes; at += 510, ++u) {
                const std::size_t n = std::min<std::size_t>(510, bytes - at);
                Bytes data(n + n % 2);
                for (std::size_t i = 0; i < n; ++i) data[i] = level(at + i);
                if (s.protocol == FeedProtocol::sacn) {
                    SacnFields fields;
                    fields.universe = int(u) + 1;
                    fields.sequence = k & 0xFF;
                    datagrams.push_back(sacnData(fields, data));
                } else {
                    datagrams.push_back(artDmx(int(u), data, k % 255 + 1));
                }
            }
            break;
        case FeedProtocol::flaschen: {
            Bytes data(bytes);
            for (std::size_t i = 0; i < bytes; ++i) data[i] = level(i);
            datagrams.push_back(flaschenPacket(s.width, s.height, data));
            break;
        }
    }
    return datagrams;
}

// Each protocol's sequence number, running on across the frames that are sent again.
void numberDatagram(FeedProtocol protocol, Bytes& datagram, int k) {
    if (protocol == FeedProtocol::ddp) datagram[1] = std::uint8_t(k % 15 + 1);
    if (protocol == FeedProtocol::sacn) datagram[111] = std::uint8_t(k);
    if (protocol == FeedProtocol::artnet) datagram[12] = std::uint8_t(k % 255 + 1);
}

// Sends frames at the scenario's rate for kRunTime; the time each frame's last packet is sent.
// `frameSent`, when given, is called after each frame's last packet.
std::vector<Clock::time_point> sendFrames(const Scenario& s,
                                          std::vector<std::vector<Bytes>>& frames, int port,
                                          const std::function<void()>& frameSent = {}) {
    LoopbackSender sender;
    std::vector<Clock::time_point> sent;
    const int count = int(kRunTime.count() * s.framesPerSecond);
    const auto start = Clock::now() + std::chrono::milliseconds(50);
    for (int k = 0; k < count; ++k) {
        std::this_thread::sleep_until(
            start + k * std::chrono::nanoseconds(1'000'000'000 / s.framesPerSecond));
        std::vector<Bytes>& frame = frames[k % frames.size()];
        for (Bytes& datagram : frame) {
            numberDatagram(s.protocol, datagram, k);
            // Timed as the last packet goes: a sender taken off its core after it (the
            // display woken on the other) must not make the latency look shorter.
            if (&datagram == &frame.back()) sent.push_back(Clock::now());
            sender.send(datagram, port);
        }
        if (frameSent) frameSent();
    }
    return sent;
}

WallLayout layoutOf(const Scenario& s) {
    WallLayout layout;
    layout.width = s.width;
    layout.height = s.height;
    layout.firstUniverse = s.protocol == FeedProtocol::artnet ? 0 : 1;
    return layout;
}

struct Floor {
    double cpuSeconds = 0;
    std::uint64_t packets = 0;
};

// The display's side of a shown feed, on this thread, which holds the GL context.
struct DisplayRecord {
    std::vector<std::pair<std::uint64_t, Clock::time_point>> taken;  // serial, when uploaded
    std::vector<double> uploadTimes;  // ms: taking the frame, its levels, the upload
    // ms: from the receiver taking the frame's last packet to the upload finished, the span
    // --stats reports, which leaves out the sender and the socket
    std::vector<double> receivedLatencies;
};

DisplayRecord* displayRecord = nullptr;

// The display callback: the program's refresh of the chosen picture (which, polled, its frame
// timer did just before), then the upload finished.
void recordDisplay() {
    if (displayRecord == nullptr || pictureCatalogue.contents.empty()) return;
    const ShownContent& picture = pictureCatalogue.contents.front();
    const std::uint64_t before = picture.uploadedSerial;
    const auto asked = Clock::now();
    refreshChosenPicture();
    glFinish();
    const bool timed = picture.uploadedSerial != before;
    if (picture.uploadedSerial != 0 &&
        (displayRecord->taken.empty() ||
         displayRecord->taken.back().first != picture.uploadedSerial)) {
        displayRecord->taken.push_back({picture.uploadedSerial, Clock::now()});
        const auto& feed = static_cast<const FeedSource&>(*picture.source);
        displayRecord->receivedLatencies.push_back(
            std::chrono::duration<double, std::milli>(displayRecord->taken.back().second -
                                                      feed.uploadedFrameCameAt())
                .count());
        if (timed)
            displayRecord->uploadTimes.push_back(std::chrono::duration<double, std::milli>(
                                                     displayRecord->taken.back().second - asked)
                                                     .count());
    }
    glutSwapBuffers();
}

// freeglut's loop as glutMainLoop runs it, until `running` falls: events, timers and the
// display, then asleep on the X connection until an event comes or the next timer is due.
// Polled, the frame timer is never more than kFeedPollInterval away; woken, the loop looks at
// its flag every 50 ms, where the program's would sleep on.
void runGlutLoop(DisplayMode mode, const std::atomic<bool>& running) {
    Display* const x = glXGetCurrentDisplay();
    const int sleepMs = mode == DisplayMode::poll ? 1 : 50;
    while (running) {
        glutMainLoopEvent();
        if (XPending(x)) continue;
        pollfd connection{ConnectionNumber(x), POLLIN, 0};
        poll(&connection, 1, sleepMs);
    }
    glutMainLoopEvent();
}

// The feed as the program shows it: the catalogue's one picture, chosen, followed by the
// frame timer, and in the wake mode given the program's wake.
DisplayRecord runDisplay(ShownContent& picture, DisplayMode mode,
                         const std::atomic<bool>& running) {
    DisplayRecord record;
    pictureCatalogue.contents.clear();
    pictureCatalogue.contents.push_back(std::move(picture));
    if (mode == DisplayMode::wake) wakeOnNewFrames();
    effectParameters.picture = 0;
    displayRecord = &record;
    followChosenPicture();
    runGlutLoop(mode, running);
    effectParameters.picture = -1;
    followChosenPicture();
    displayRecord = nullptr;
    picture = std::move(pictureCatalogue.contents.front());
    showBuiltInPictures(pictureCatalogue);
    return record;
}

std::unique_ptr<FeedReceiver> openReceiver(const Scenario& s, std::string& error) {
    ListenSpec spec;
    spec.protocol = s.protocol;
    spec.port = 0;
    std::vector<std::string> notices;
    return FeedReceiver::open(spec, layoutOf(s), error, notices);
}

// A shown feed's texture, as the display makes it for a user's picture.
ShownContent showFeed(const Scenario& s, std::unique_ptr<FeedReceiver> receiver) {
    ShownContent picture;
    picture.info = {1, s.width, s.height};
    picture.source = std::make_unique<FeedSource>(std::move(receiver), layoutOf(s));
    picture.texture = createPictureTexture(nullptr, s.width, s.height, MipmapBuilder::gl,
                                           picture.source->channels());
    return picture;
}

void closeFeed(ShownContent& picture) {
    picture.source.reset();
    glDeleteTextures(1, &picture.texture);
}

// The bytes of a datagram the bench sent that carry levels: all but its protocol's header.
std::span<const std::uint8_t> levelsOf(const Scenario& s, std::span<const std::uint8_t> datagram) {
    constexpr std::size_t kSacnDataHeaderBytes = 126;  // its three layers and the start code
    constexpr std::size_t kArtDmxHeaderBytes = 18;
    std::size_t header = 0;
    switch (s.protocol) {
        case FeedProtocol::ddp:
            header = kDdpHeaderBytes;
            break;
        case FeedProtocol::sacn:
            header = kSacnDataHeaderBytes;
            break;
        case FeedProtocol::artnet:
            header = kArtDmxHeaderBytes;
            break;
        case FeedProtocol::flaschen:
            header = datagram.size() - std::size_t{3} * s.width * s.height;
    }
    return datagram.subspan(std::min(header, datagram.size()));
}

// What the floor does beside its receiving.
enum class FloorWork {
    none,       // bare: no display work on the machine
    display,    // the display's work beside it, fed by the sender
    delivering  // and the floor itself feeds it: each datagram's levels copied, in turn, into
                // a frame of the wall's size that is handed over when the frame's datagrams are in
};

// The floor: the same socket layer, batches received into the same buffers, nothing more.
// Beside the display, the display's side runs as it did beside the receiver: a frame of the
// wall's size is handed over once a frame to a feed that is shown, whose own receiver gets no
// traffic and so never hands one over itself. Its levels are left as they are, unless the
// floor delivers them: delivering is what every receiver must do at least, whatever its
// protocol's rules, since the display reads the frame on another core.
Floor runFloor(const Scenario& s, std::vector<std::vector<Bytes>>& frames, FloorWork work) {
    PeerAddress address;
    std::string error;
    parseNumericAddress("127.0.0.1", 0, address, error);
    UdpSocket socket;
    if (!socket.bind(address, error)) return {};
    std::unique_ptr<FeedReceiver> idle;
    ShownContent picture;
    NewestFrameSlot* slot = nullptr;
    if (work != FloorWork::none) {
        idle = openReceiver(s, error);
        if (!idle) return {};
        slot = &idle->frameSlot();
        picture = showFeed(s, std::move(idle));
    }
    std::vector<std::uint8_t> frame(layoutOf(s).frameBytes());
    std::uint64_t serial = 0;
    std::atomic<bool> stop{false};
    WakeSignal wake;
    Floor floor;
    std::thread receiver([&] {
        std::vector<std::vector<std::uint8_t>> buffers(32, std::vector<std::uint8_t>(65536));
        std::vector<ReceivedDatagram> received;
        UdpSocket* const sockets[] = {&socket};
        const std::size_t perFrame = frames[0].size();
        std::size_t inFrame = 0, at = 0;
        while (!stop) {
            if (!UdpSocket::waitReadable(sockets, -1, &wake)) continue;
            while (int got = socket.receiveBatch(buffers, received)) {
                floor.packets += got;
                if (work != FloorWork::delivering) continue;
                for (const ReceivedDatagram& datagram : received) {
                    const auto levels = levelsOf(s, datagram.bytes);
                    const std::size_t n = std::min(levels.size(), frame.size() - at);
                    // As the receivers copy: whole pictures bypass the cache, pieces do not.
                    if (s.protocol == FeedProtocol::flaschen) {
                        copyStreaming(frame.data() + at, levels.data(), n);
                    } else {
                        std::memcpy(frame.data() + at, levels.data(), n);
                    }
                    at += n;
                    if (++inFrame == perFrame) {
                        finishStreaming();
                        slot->publish(frame, ++serial);
                        if (s.mode == DisplayMode::wake) wakeDisplay();
                        inFrame = at = 0;
                    }
                }
            }
        }
        floor.cpuSeconds = threadCpuSeconds();
    });
    if (work == FloorWork::none) {
        sendFrames(s, frames, socket.localPort());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } else {
        std::atomic<bool> sending{true};
        std::thread sender([&] {
            const auto sent = [&] {
                if (work != FloorWork::display) return;
                slot->publish(frame, ++serial);
                if (s.mode == DisplayMode::wake) wakeDisplay();
            };
            sendFrames(s, frames, socket.localPort(), sent);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            sending = false;
        });
        runDisplay(picture, s.mode, sending);
        sender.join();
    }
    stop = true;
    wake.raise();
    receiver.join();
    if (work != FloorWork::none) closeFeed(picture);
    return floor;
}

double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One pass of the traffic to the real receiver, shown.
struct ReceiverPass {
    double cpuSeconds = 0;
    std::uint64_t framesSent = 0, framesShown = 0, packetsSent = 0, packetsTaken = 0;
    std::uint64_t framesUploaded = 0;
    std::vector<double> latencies, uploadTimes, receivedLatencies;
};

ReceiverPass runReceiver(const Scenario& s, std::vector<std::vector<Bytes>>& frames,
                         std::string& error) {
    ReceiverPass pass;
    auto opened = openReceiver(s, error);
    if (!opened) return pass;
    FeedReceiver* const receiver = opened.get();
    ShownContent picture = showFeed(s, std::move(opened));
    std::vector<Clock::time_point> sent;
    std::atomic<bool> sending{true};
    std::thread sender([&] {
        sent = sendFrames(s, frames, receiver->port());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        sending = false;
    });
    const DisplayRecord display = runDisplay(picture, s.mode, sending);
    sender.join();
    receiver->stop();
    for (const auto& [serial, when] : display.taken) {
        if (serial <= sent.size())
            pass.latencies.push_back(
                std::chrono::duration<double, std::milli>(when - sent[serial - 1]).count());
    }
    pass.cpuSeconds = receiver->threadCpuSeconds();
    pass.framesSent = sent.size();
    pass.framesShown = receiver->counters().frames.load();
    for (std::size_t k = 0; k < sent.size(); ++k)
        pass.packetsSent += frames[k % frames.size()].size();
    pass.packetsTaken = receiver->counters().packets.load();
    pass.framesUploaded = display.taken.size();
    pass.uploadTimes = display.uploadTimes;
    pass.receivedLatencies = display.receivedLatencies;
    closeFeed(picture);
    return pass;
}

// The passes take turns in short rounds, so that whatever else the machine runs meanwhile
// weighs on the receiver and the floors alike; the turns' order is reversed every other round.
void runFeed(benchmark::State& state, Scenario s) {
    std::vector<std::vector<Bytes>> frames;
    for (int k = 0; k < 8; ++k) frames.push_back(frameDatagrams(s, k));
    for (auto _ : state) {
        ReceiverPass total;
        Floor floor, bare, delivering;
        std::string error;
        const auto add = [](Floor& sum, const Floor& pass) {
            sum.cpuSeconds += pass.cpuSeconds, sum.packets += pass.packets;
        };
        const auto addFloors = [&] {
            add(floor, runFloor(s, frames, FloorWork::display));
            add(bare, runFloor(s, frames, FloorWork::none));
            add(delivering, runFloor(s, frames, FloorWork::delivering));
        };
        for (int round = 0; round < s.rounds; ++round) {
            if (round % 2 == 1) addFloors();
            ReceiverPass pass = runReceiver(s, frames, error);
            if (!error.empty()) return state.SkipWithError(error.c_str());
            total.cpuSeconds += pass.cpuSeconds;
            total.framesSent += pass.framesSent, total.framesShown += pass.framesShown;
            total.packetsSent += pass.packetsSent, total.packetsTaken += pass.packetsTaken;
            total.framesUploaded += pass.framesUploaded;
            total.latencies.insert(total.latencies.end(), pass.latencies.begin(),
                                   pass.latencies.end());
            total.uploadTimes.insert(total.uploadTimes.end(), pass.uploadTimes.begin(),
                                     pass.uploadTimes.end());
            if (round % 2 == 0) addFloors();
        }
        state.counters["frames_sent"] = double(total.framesSent);
        state.counters["frames_lost"] = double(total.framesSent) - double(total.framesShown);
        state.counters["packets_lost"] = double(total.packetsSent) - double(total.packetsTaken);
        state.counters["floor_packets_lost"] = double(total.packetsSent) - double(floor.packets);
        state.counters["cpu_ms"] = total.cpuSeconds * 1e3;
        state.counters["floor_cpu_ms"] = floor.cpuSeconds * 1e3;
        state.counters["cpu_ratio"] = total.cpuSeconds / floor.cpuSeconds;
        state.counters["bare_floor_cpu_ms"] = bare.cpuSeconds * 1e3;
        state.counters["cpu_ratio_bare"] = total.cpuSeconds / bare.cpuSeconds;
        state.counters["delivering_floor_cpu_ms"] = delivering.cpuSeconds * 1e3;
        state.counters["cpu_ratio_delivering"] = total.cpuSeconds / delivering.cpuSeconds;
        state.counters["latency_median_ms"] = median(total.latencies);
        state.counters["frames_uploaded"] = double(total.framesUploaded);
        state.counters["upload_median_ms"] = median(total.uploadTimes);
    }
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A shown feed with no sender for kRunTime: the CPU time the whole process took meanwhile.
double runIdle(const Scenario& s, std::string& error) {
    auto receiver = openReceiver(s, error);
    if (!receiver) return 0;
    ShownContent picture = showFeed(s, std::move(receiver));
    std::atomic<bool> running{true};
    std::thread timer([&] {
        std::this_thread::sleep_for(kRunTime);
        running = false;
    });
    const double before = processCpuSeconds();
    runDisplay(picture, s.mode, running);
    const double used = processCpuSeconds() - before;
    timer.join();
    closeFeed(picture);
    return used;
}

// The display woken against the display polled, in turns: each round a pass of traffic and an
// idle pass in either mode, the order reversed every other round.
void compareDisplayModes(benchmark::State& state, Scenario s) {
    std::vector<std::vector<Bytes>> frames;
    for (int k = 0; k < 8; ++k) frames.push_back(frameDatagrams(s, k));
    const char* const names[2] = {"wake", "poll"};
    for (auto _ : state) {
        std::vector<double> latencies[2], receivedLatencies[2];
        double idleSeconds[2] = {0, 0};
        std::uint64_t sent[2] = {0, 0}, shown[2] = {0, 0}, uploaded[2] = {0, 0};
        std::string error;
        for (int round = 0; round < s.rounds; ++round) {
            for (int turn = 0; turn < 2; ++turn) {
                const int m = round % 2 == 0 ? turn : 1 - turn;
                s.mode = m == 0 ? DisplayMode::wake : DisplayMode::poll;
                const ReceiverPass pass = runReceiver(s, frames, error);
                idleSeconds[m] += runIdle(s, error);
                if (!error.empty()) return state.SkipWithError(error.c_str());
                latencies[m].insert(latencies[m].end(), pass.latencies.begin(),
                                    pass.latencies.end());
                receivedLatencies[m].insert(receivedLatencies[m].end(),
                                            pass.receivedLatencies.begin(),
                                            pass.receivedLatencies.end());
                sent[m] += pass.framesSent, shown[m] += pass.framesShown;
                uploaded[m] += pass.framesUploaded;
            }
        }
        const double idleRunSeconds = s.rounds * std::chrono::duration<double>(kRunTime).count();
        for (int m = 0; m < 2; ++m) {
            const std::string mode = names[m];
            state.counters["latency_median_ms_" + mode] = median(latencies[m]);
            state.counters["received_latency_median_ms_" + mode] = median(receivedLatencies[m]);
            state.counters["frames_lost_" + mode] = double(sent[m]) - double(shown[m]);
            state.counters["frames_uploaded_" + mode] = double(uploaded[m]);
            state.counters["idle_cpu_percent_" + mode] = 100 * idleSeconds[m] / idleRunSeconds;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Scenario scenarios[] = {
        {FeedProtocol::sacn, 512, 256, 60},
        {FeedProtocol::ddp, 1920, 1080, 30},
        {FeedProtocol::artnet, 170, 100, 44},
        {FeedProtocol::flaschen, 192, 108, 60, 5},
    };
    for (const Scenario& s : scenarios) {
        const std::string name = std::string(protocolName(s.protocol)) + "/" +
                                 std::to_string(s.width) + "x" + std::to_string(s.height) + "@" +
                                 std::to_string(s.framesPerSecond);
        benchmark::RegisterBenchmark(name.c_str(), runFeed, s)
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
    }
    // One datagram or a push a frame: each frame the receiver hands over is one sent.
    const Scenario displayScenarios[] = {
        {FeedProtocol::ddp, 1920, 1080, 30},
        {FeedProtocol::flaschen, 192, 108, 60},
    };
    for (const Scenario& s : displayScenarios) {
        const std::string name = std::string("display/") + protocolName(s.protocol) + "/" +
                                 std::to_string(s.width) + "x" + std::to_string(s.height) + "@" +
                                 std::to_string(s.framesPerSecond);
        benchmark::RegisterBenchmark(name.c_str(), compareDisplayModes, s)
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
    }
    benchmark::Initialize(&argc, argv);
    openGlutWindow(&argc, argv, "feed_bench", 64, 64);
    glutDisplayFunc(recordDisplay);
    if (glewInit() != GLEW_OK) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
