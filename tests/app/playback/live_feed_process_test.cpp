// The real program driven over loopback by a sender of our own: each protocol's pixels, with
// the mapping options, as Billboard I shows them in the review shots; the statistics line
// with bad packets counted while the program goes on; --shots with no sender; a taken port.
#include <gtest/gtest.h>

#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "feeds/feed_source.h"
#include "pictures/picture_file.h"
#include "tests/support/feed_packets.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"
#include "video/video_input.h"

using namespace testsupport;

namespace {

// A port of this test process's own, so parallel runs do not meet.
int testPort(int offset) {
    return 20000 + (getpid() % 2000) * 10 + offset;
}

// Sends the datagrams of one frame every 20 ms while the program runs (at most 30 s).
class RepeatingSender {
  public:
    RepeatingSender(std::vector<Bytes> frame, int port)
        : thread_([this, frame = std::move(frame), port] {
              LoopbackSender sender;
              for (int round = 0; round < 1500 && !stop_; ++round) {
                  for (const Bytes& datagram : frame) sender.send(datagram, port);
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~RepeatingSender() {
        stop_ = true;
        thread_.join();
    }

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

struct Colour {
    int r, g, b;
};
// Four colours far apart, for the wall's pixels in wall order (rows from the top).
constexpr Colour kColours[4] = {{250, 20, 20}, {20, 250, 20}, {20, 20, 250}, {250, 250, 20}};

// Where on the shot each colour is: the mean position of the pixels close to it (y from the
// top), or -1 when it is missing.
std::vector<std::pair<double, double>> colourCentres(const std::string& path) {
    Picture shot;
    EXPECT_TRUE(loadPicture(path.c_str(), shot).ok()) << path;
    std::vector<std::pair<double, double>> centres(4, {-1, -1});
    if (shot.frames.empty()) return centres;
    for (int c = 0; c < 4; ++c) {
        double sx = 0, sy = 0, n = 0;
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                const std::uint8_t* p =
                    &shot.frames[0].pixels[(std::size_t(y) * shot.width + x) * 3];
                if (std::abs(p[0] - kColours[c].r) + std::abs(p[1] - kColours[c].g) +
                        std::abs(p[2] - kColours[c].b) <
                    40) {
                    sx += x, sy += shot.height - 1 - y, ++n;
                }
            }
        }
        if (n > 20) centres[c] = {sx / n, sy / n};
    }
    return centres;
}

// The colours of a 2x2 wall must stand where they were sent: 0 top left, 1 top right,
// 2 bottom left, 3 bottom right.
void expectWallOrder(const std::string& shot) {
    const auto c = colourCentres(shot);
    for (int i = 0; i < 4; ++i)
        ASSERT_GE(c[i].first, 0) << "colour " << i << " missing in " << shot;
    EXPECT_LT(c[0].first, c[1].first);
    EXPECT_LT(c[2].first, c[3].first);
    EXPECT_LT(c[0].second, c[2].second);
    EXPECT_LT(c[1].second, c[3].second);
}

Bytes channels(std::initializer_list<int> pixels, bool grb = false) {
    Bytes bytes;
    for (int i : pixels) {
        const Colour& c = kColours[i];
        if (grb) {
            bytes.insert(bytes.end(), {std::uint8_t(c.g), std::uint8_t(c.r), std::uint8_t(c.b)});
        } else {
            bytes.insert(bytes.end(), {std::uint8_t(c.r), std::uint8_t(c.g), std::uint8_t(c.b)});
        }
    }
    return bytes;
}

class LiveFeedProcessTest : public testing::Test {
  protected:
    // A shots folder of this run's own, inside a fresh temporary folder: other builds may run
    // the same test at the same time.
    void SetUp() override { folder_ = std::filesystem::path(temp_.folder()) / "shots"; }

    ProcessResult review(const std::string& listen, std::vector<std::string> more = {}) {
        ProcessOptions options;
        options.arguments = {"--listen",       listen,   "--wall",  "2x2",       "--shots",
                             folder_.string(), "--size", "200x160", "--seconds", "1"};
        options.arguments.insert(options.arguments.end(), more.begin(), more.end());
        options.timeoutSeconds = 60;
        return runProcess(programPath(), options);
    }
    std::string shot(const std::string& name) const { return (folder_ / name).string(); }
    testsupport::TempFolder temp_;
    std::filesystem::path folder_;
};

}  // namespace

TEST_F(LiveFeedProcessTest, EveryProtocolsPixelsStandWhereTheyWereSent) {
    {
        const int port = testPort(0);
        RepeatingSender sender({ddpPacket(0, channels({0, 1, 2, 3}), true)}, port);
        const ProcessResult result = review("ddp:" + std::to_string(port));
        ASSERT_EQ(result.exitStatus, 0) << result.errorText;
        expectWallOrder(shot("ddp-effect-1.png"));
        // The feed recorded as it arrived: a second at the feeds' clip rate.
        VideoInput clip;
        ASSERT_TRUE(clip.openFile(shot("ddp-night.mp4").c_str()).ok());
        EXPECT_DOUBLE_EQ(clip.frameRate(), kFeedClipFrameRate);
        std::vector<std::uint8_t> rgb(std::size_t(3) * clip.width() * clip.height());
        int frames = 0;
        double seconds = 0;
        while (frames < 100 && clip.readFrame(rgb.data(), seconds) == VideoRead::frame) ++frames;
        EXPECT_EQ(frames, 30);
    }
    {
        // One pixel a universe, the second row right to left, green first.
        const int port = testPort(1);
        std::vector<Bytes> frame;
        const int wallOrder[4] = {0, 1, 3, 2};
        for (int u = 0; u < 4; ++u) {
            SacnFields fields;
            fields.universe = 5 + u;
            frame.push_back(sacnData(fields, channels({wallOrder[u]}, true)));
        }
        RepeatingSender sender(frame, port);
        const ProcessResult result =
            review("sacn:" + std::to_string(port),
                   {"--universe", "5", "--universe-pixels", "1", "--serpentine", "--order", "GRB"});
        ASSERT_EQ(result.exitStatus, 0) << result.errorText;
        expectWallOrder(shot("sacn-effect-1.png"));
    }
    {
        const int port = testPort(2);
        RepeatingSender sender({artDmx(0, channels({0, 1})), artDmx(1, channels({2, 3}))}, port);
        const ProcessResult result =
            review("artnet:" + std::to_string(port), {"--universe-pixels", "2"});
        ASSERT_EQ(result.exitStatus, 0) << result.errorText;
        expectWallOrder(shot("artnet-effect-1.png"));
    }
    {
        const int port = testPort(3);
        RepeatingSender sender({flaschenPacket(2, 2, channels({0, 1, 2, 3}))}, port);
        const ProcessResult result = review("flaschen=127.0.0.1:" + std::to_string(port));
        ASSERT_EQ(result.exitStatus, 0) << result.errorText;
        expectWallOrder(shot("flaschen-effect-1.png"));
    }
}

TEST_F(LiveFeedProcessTest, StatisticsCountBadPacketsWhileFramesGoOn) {
    const int port = testPort(4);
    std::vector<Bytes> frame(50, Bytes{'P', '6', ' ', '2'});  // cut short: bad
    frame.push_back(flaschenPacket(2, 2, channels({0, 1, 2, 3})));
    RepeatingSender sender(frame, port);
    ProcessOptions options;
    options.arguments = {
        "--listen", "flaschen:" + std::to_string(port), "--wall", "2x2", "--stats", "--size",
        "200x160"};
    // Two lines or more a second apart, with room for a start-up slowed by a busy machine.
    options.timeoutSeconds = 5;
    const ProcessResult result = runProcess(programPath(), options);
    struct StatsLine {
        long frames, packets, bad;
    };
    std::vector<StatsLine> lines;
    std::istringstream text(result.errorText);
    for (std::string line; std::getline(text, line);) {
        StatsLine stats{};
        long lost = -1;
        // The receiver counts whether or not the display uploads: a window another one covers
        // whole (tests share one X server) is not redrawn, so its line may have no latency.
        if (std::sscanf(line.c_str(), "flaschen: %ld frames, %ld packets, %ld bad, %ld lost,",
                        &stats.frames, &stats.packets, &stats.bad, &lost) == 4 &&
            lost == 0)
            lines.push_back(stats);
    }
    ASSERT_GE(lines.size(), 2u) << result.errorText;
    const long frames = lines.back().frames, packets = lines.back().packets, bad = lines.back().bad;
    EXPECT_GT(frames, lines.front().frames) << "frames went on after the flood";
    // A line may be printed in the middle of a round of junk.
    EXPECT_GE(bad, 50 * frames) << result.errorText;
    EXPECT_LT(bad, 50 * (frames + 1)) << result.errorText;
    EXPECT_EQ(packets, bad + frames);
}

TEST_F(LiveFeedProcessTest, ShotsWithNoSenderEndWithStatusOne) {
    const ProcessResult result =
        review("ddp:" + std::to_string(testPort(5)), {"--wait", "0.2", "--stats"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.errorText.find("Error: ddp: no frame came in 0.2 s\n"), std::string::npos)
        << result.errorText;
    // --stats gives the feed's totals as it is left out.
    EXPECT_NE(result.errorText.find("ddp: 0 frames, 0 packets, 0 bad, 0 lost\n"), std::string::npos)
        << result.errorText;
    // The review stops there: no window, nothing written.
    EXPECT_EQ(result.output, kBanner);
    EXPECT_FALSE(std::filesystem::exists(folder_));
}

TEST_F(LiveFeedProcessTest, ATakenPortEndsTheProgramBeforeItsWindow) {
    const int port = testPort(6);
    const int holder = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ProcessOptions options;
    options.arguments = {"--listen", "sacn:" + std::to_string(port)};
    const ProcessResult result = runProcess(programPath(), options);
    close(holder);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.output, kBanner);
    EXPECT_EQ(result.errorText,
              "Error: sacn: port " + std::to_string(port) + " of 127.0.0.1 is taken\n");
}
