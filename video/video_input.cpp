// VideoInput over libavformat and libavcodec, in FFmpeg's three steps: demux (packets of the
// chosen stream), decode (packets into frames, a damaged packet skipped where it fails),
// scale (RgbConversion). Every call's result is checked where it is made.
#include "video/video_input.h"

#include <cerrno>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

#include "pictures/picture_orientation.h"
#include "video/libav_text.h"
#include "video/memory_input.h"
#include "video/planar_conversion.h"
#include "video/rgb_conversion.h"

namespace {

// Rates outside this are taken as damage: a frame every ten seconds to a thousand a second.
constexpr double kSlowestFrameRate = 0.1;
constexpr double kFastestFrameRate = 1000;
constexpr double kUnknownFrameRate = 25;

// Pixel shapes taken from a video's sample aspect ratio: wider or narrower ones are damage.
constexpr double kNarrowestPixel = 0.25;
constexpr double kWidestPixel = 4;

// A timestamp that jumps further than this past the frame before it is taken as damage too:
// the frame follows at the nominal rate instead, so the display never waits on a bad number.
constexpr double kLongestFrameGapSeconds = 10;

// Demux or decode failures in a row, without a frame between them, after which the stream is
// taken to have ended: a stretch of damage that long is no longer a stream that started well,
// and a bound keeps any input from spinning the reader for ever.
constexpr int kMaxFailuresInARow = 4096;

// How much of a file that did not open is looked at to tell a damaged video from none.
constexpr std::size_t kProbedHeadBytes = 4096;

const AVStream* chooseVideoStream(const AVFormatContext& format) {
    const int best = av_find_best_stream(const_cast<AVFormatContext*>(&format), AVMEDIA_TYPE_VIDEO,
                                         -1, -1, nullptr, 0);
    const auto usable = [](const AVStream* stream) {
        return stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
               (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) == 0;
    };
    if (best >= 0 && usable(format.streams[best])) return format.streams[best];
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        if (usable(format.streams[i])) return format.streams[i];
    }
    return nullptr;
}

// The container that the first bytes look like, from their content alone; null for none.
const AVInputFormat* containerOf(std::span<const std::uint8_t> head) {
    std::vector<std::uint8_t> padded(head.begin(), head.end());
    padded.resize(head.size() + AVPROBE_PADDING_SIZE);
    AVProbeData probe{};
    probe.buf = padded.data();
    probe.buf_size = static_cast<int>(head.size());
    probe.filename = "";
    // Above a quarter of the highest score, where libavformat itself stops doubting.
    int score = AVPROBE_SCORE_MAX / 4;
    return av_probe_input_format2(&probe, 1, &score);
}

// The first bytes of a file, for containerOf; empty when it cannot be read.
std::vector<std::uint8_t> headOf(const char* path) {
    std::vector<std::uint8_t> head(kProbedHeadBytes);
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return {};
    head.resize(std::fread(head.data(), 1, head.size(), file));
    std::fclose(file);
    return head;
}

// Why the container did not open. Data it cannot make sense of is a damaged video when its
// first bytes look like a container (an MP4 cut off before its index), else no video at all.
LoadOutcome openFailure(int error, std::span<const std::uint8_t> head) {
    if (error == AVERROR(ENOENT)) return loadFailure(LoadStatus::missing, "file not found");
    if (error == AVERROR(ENOMEM)) return loadFailure(LoadStatus::outOfMemory, "out of memory");
    if (error == AVERROR_INVALIDDATA || error == AVERROR_EOF) {
        if (const AVInputFormat* container = containerOf(head)) {
            return loadFailure(LoadStatus::truncated,
                               std::string("truncated or damaged video (") + container->name + ")");
        }
        return loadFailure(LoadStatus::unknownFormat,
                           "unknown format: neither a picture (BMP, PNG, JPEG, GIF or WebP) "
                           "nor a video");
    }
    return loadFailure(LoadStatus::unreadable,
                       "cannot read the file (" + libavErrorText(error) + ")");
}

// The turn a stream's display matrix gives its frames, as players read it: only whole quarter
// turns (mirrored or slanted matrices are shown as stored).
Orientation displayTurn(const AVStream& stream) {
    std::size_t size = 0;
    const std::uint8_t* data = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (data == nullptr || size < 9 * sizeof(std::int32_t)) return Orientation::asStored;
    std::int32_t matrix[9];
    std::memcpy(matrix, data, sizeof matrix);
    const double anticlockwise = av_display_rotation_get(matrix);
    if (!std::isfinite(anticlockwise)) return Orientation::asStored;
    const long quarters = ((-std::lround(anticlockwise / 90)) % 4 + 4) % 4;  // clockwise
    const double off = std::fabs(anticlockwise / 90 - std::round(anticlockwise / 90));
    if (off > 0.01) return Orientation::asStored;
    constexpr Orientation kTurns[] = {Orientation::asStored, Orientation::quarterClockwise,
                                      Orientation::halfTurn, Orientation::quarterAnticlockwise};
    return kTurns[quarters];
}

}  // namespace

struct VideoInput::State {
    MemoryInput memory;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    RgbConversion conversion;
    PlanarConversion planes;
    const AVStream* stream = nullptr;
    std::int64_t startTime = 0;  // in the stream's time base
    double rate = kUnknownFrameRate;
    int width = 0, height = 0;
    int outputWidth = 0, outputHeight = 0;
    int outputChannels = 3;
    bool framePending = false;  // open decoded the first frame; readFrame hands it out first
    bool draining = false;      // the demuxer has ended and the decoder got its flush packet
    double lastSeconds = -1;    // time of the frame handed out last; -1 before the first
    std::uint64_t skipped = 0;
    std::uint64_t concealed = 0;
    Orientation turn = Orientation::asStored;  // how players turn the frames (phone video)
    std::vector<std::uint8_t> unturned;        // a frame converted, before it is turned

    ~State() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    std::span<const std::uint8_t> bytes;  // of an input in memory

    LoadOutcome open(const char* path, const VideoLimits& limits);
    LoadOutcome openDecoder(const VideoLimits& limits);
    int readPacket();
    int decodeFrame();
    double frameSeconds() const;
    int shownWidth(const VideoLimits& limits) const;
    bool convertFrame(std::uint8_t* rgb, int channels, const ConvertedRows& rowsDone);
};

LoadOutcome VideoInput::State::open(const char* path, const VideoLimits& limits) {
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    if (packet == nullptr || frame == nullptr) {
        return loadFailure(LoadStatus::outOfMemory, "out of memory");
    }
    // The probe step: the container from the content, then its streams.
    if (const int error = avformat_open_input(&format, path, nullptr, nullptr); error < 0) {
        if (path == nullptr)
            return openFailure(error, bytes.first(std::min(bytes.size(), kProbedHeadBytes)));
        return openFailure(error, headOf(path));
    }
    // A picture sequence is chosen by the file's name alone: a damaged or unknown picture
    // named .png or .jpg is no video either, and keeps the picture decoders' reason.
    if (std::string_view(format->iformat->name) == "image2") {
        return openFailure(AVERROR_INVALIDDATA, {});
    }
    if (const int error = avformat_find_stream_info(format, nullptr); error < 0) {
        return loadFailure(LoadStatus::corrupt, "damaged video (" + libavErrorText(error) + ")");
    }
    stream = chooseVideoStream(*format);
    if (stream != nullptr) turn = displayTurn(*stream);
    if (stream == nullptr) {
        return loadFailure(LoadStatus::corrupt, "no video stream in the file");
    }
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (format->streams[i] != stream) format->streams[i]->discard = AVDISCARD_ALL;
    }
    if (stream->start_time != AV_NOPTS_VALUE) startTime = stream->start_time;
    const AVRational guessed = av_guess_frame_rate(format, const_cast<AVStream*>(stream), nullptr);
    if (guessed.num > 0 && guessed.den > 0) {
        const double value = av_q2d(guessed);
        if (value >= kSlowestFrameRate && value <= kFastestFrameRate) rate = value;
    }
    return openDecoder(limits);
}

LoadOutcome VideoInput::State::openDecoder(const VideoLimits& limits) {
    const AVCodecParameters& parameters = *stream->codecpar;
    if (parameters.width > 0 && parameters.height > 0) {
        const LoadOutcome size =
            checkPictureSize(parameters.width, parameters.height, 1, {limits.maxPixelCount, 1});
        if (!size.ok()) return size;
    }
    const AVCodec* decoder = avcodec_find_decoder(parameters.codec_id);
    if (decoder == nullptr) {
        return loadFailure(LoadStatus::corrupt, std::string("no decoder for its video (") +
                                                    avcodec_get_name(parameters.codec_id) + ")");
    }
    codec = avcodec_alloc_context3(decoder);
    if (codec == nullptr) return loadFailure(LoadStatus::outOfMemory, "out of memory");
    if (const int error = avcodec_parameters_to_context(codec, &parameters); error < 0) {
        return loadFailure(LoadStatus::corrupt, "damaged video (" + libavErrorText(error) + ")");
    }
    // Frames larger than a picture may be are refused by the decoder itself, also when the
    // size changes inside the stream.
    codec->max_pixels = static_cast<std::int64_t>(limits.maxPixelCount);
    codec->thread_count = 0;  // as many as the machine has cores
    if (const int error = avcodec_open2(codec, decoder, nullptr); error < 0) {
        return loadFailure(LoadStatus::corrupt,
                           "cannot decode its video (" + libavErrorText(error) + ")");
    }
    const int error = decodeFrame();
    if (error == AVERROR(ENOMEM)) return loadFailure(LoadStatus::outOfMemory, "out of memory");
    if (error < 0) {
        return loadFailure(LoadStatus::truncated, "truncated or damaged video: no frame decodes");
    }
    const LoadOutcome size =
        checkPictureSize(frame->width, frame->height, 1, {limits.maxPixelCount, 1});
    if (!size.ok()) return size;
    width = outputWidth = shownWidth(limits);
    height = outputHeight = frame->height;
    if (swapsSides(turn)) {
        std::swap(width, height);
        std::swap(outputWidth, outputHeight);
    }
    framePending = true;
    return {};
}

// Pixels that are not square (anamorphic video) are shown in the shape the video is meant to
// have, as players show it: the frame's width stretched or narrowed by the sample aspect ratio.
int VideoInput::State::shownWidth(const VideoLimits& limits) const {
    const AVRational aspect =
        av_guess_sample_aspect_ratio(format, const_cast<AVStream*>(stream), frame);
    if (aspect.num <= 0 || aspect.den <= 0) return frame->width;
    const double pixelShape = av_q2d(aspect);
    if (pixelShape == 1 || pixelShape < kNarrowestPixel || pixelShape > kWidestPixel)
        return frame->width;
    const int shown = std::max(1, static_cast<int>(std::lround(frame->width * pixelShape)));
    const bool fits = checkPictureSize(shown, frame->height, 1, {limits.maxPixelCount, 1}).ok();
    return fits ? shown : frame->width;
}

// The scale step, then the turn players give the video (a phone held upright records its
// frames on their side and says so), which needs the whole frame converted first.
bool VideoInput::State::convertFrame(std::uint8_t* rgb, int channels,
                                     const ConvertedRows& rowsDone) {
    if (turn == Orientation::asStored)
        return conversion.convert(*frame, rgb, outputWidth, outputHeight, channels, rowsDone);
    const int storedWidth = swapsSides(turn) ? outputHeight : outputWidth;
    const int storedHeight = swapsSides(turn) ? outputWidth : outputHeight;
    unturned.resize(std::size_t(channels) * storedWidth * storedHeight);
    if (!conversion.convert(*frame, unturned.data(), storedWidth, storedHeight, channels))
        return false;
    turnPixels(unturned.data(), rgb, storedWidth, storedHeight, turn, channels);
    if (rowsDone) rowsDone(0, outputHeight);
    return true;
}

// The demux step: the next packet of the chosen stream, or the demuxer's error or end.
int VideoInput::State::readPacket() {
    for (;;) {
        av_packet_unref(packet);
        const int error = av_read_frame(format, packet);
        if (error < 0 || packet->stream_index == stream->index) return error;
    }
}

// The decode step: the next frame into `frame`, 0 when there is one, AVERROR_EOF at the end.
int VideoInput::State::decodeFrame() {
    int failures = 0;
    for (;;) {
        const int received = avcodec_receive_frame(codec, frame);
        if (received == 0) {
            if (frame->decode_error_flags != 0 || (frame->flags & AV_FRAME_FLAG_CORRUPT) != 0)
                ++concealed;
            return 0;
        }
        if (received == AVERROR_EOF || received == AVERROR(ENOMEM)) return received;
        if (received != AVERROR(EAGAIN)) {
            ++skipped;
            if (++failures >= kMaxFailuresInARow) return AVERROR_EOF;
            continue;
        }
        if (draining) return AVERROR_EOF;
        const int read = readPacket();
        if (read == AVERROR(ENOMEM)) return read;
        if (read < 0) {
            // The end, or a read error: either way what the decoder holds is all there is.
            if (read != AVERROR_EOF && ++failures < kMaxFailuresInARow && !avio_feof(format->pb)) {
                continue;
            }
            draining = true;
            avcodec_send_packet(codec, nullptr);
            continue;
        }
        const int sent = avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
        if (sent == AVERROR(ENOMEM)) return sent;
        if (sent < 0) {
            ++skipped;
            if (++failures >= kMaxFailuresInARow) return AVERROR_EOF;
        }
    }
}

double VideoInput::State::frameSeconds() const {
    const double nominal = 1 / rate;
    const std::int64_t timestamp = frame->best_effort_timestamp;
    const double given = timestamp == AV_NOPTS_VALUE ? NAN
                                                     : static_cast<double>(timestamp - startTime) *
                                                           av_q2d(stream->time_base);
    if (lastSeconds < 0) return given >= 0 && given < kLongestFrameGapSeconds ? given : 0;
    if (!(given > lastSeconds && given <= lastSeconds + kLongestFrameGapSeconds)) {
        return lastSeconds + nominal;
    }
    return given;
}

VideoInput::VideoInput() : state_(std::make_unique<State>()) {
    quietLibavLog();
}
VideoInput::~VideoInput() = default;

LoadOutcome VideoInput::openFile(const char* path, const VideoLimits& limits) {
    state_ = std::make_unique<State>();
    if (path == nullptr || *path == '\0') {
        return loadFailure(LoadStatus::missing, "file not found");
    }
    return state_->open(path, limits);
}

LoadOutcome VideoInput::openBytes(std::span<const std::uint8_t> bytes, const VideoLimits& limits) {
    state_ = std::make_unique<State>();
    State& state = *state_;
    if (bytes.empty()) return loadFailure(LoadStatus::truncated, "empty file");
    state.format = avformat_alloc_context();
    AVIOContext* io = state.format != nullptr ? state.memory.open(bytes) : nullptr;
    if (io == nullptr) return loadFailure(LoadStatus::outOfMemory, "out of memory");
    state.bytes = bytes;
    state.format->pb = io;
    state.format->flags |= AVFMT_FLAG_CUSTOM_IO;
    return state.open(nullptr, limits);
}

int VideoInput::width() const {
    return state_->width;
}
int VideoInput::height() const {
    return state_->height;
}
int VideoInput::outputWidth() const {
    return state_->outputWidth;
}
int VideoInput::outputHeight() const {
    return state_->outputHeight;
}
double VideoInput::frameRate() const {
    return state_->rate;
}
std::uint64_t VideoInput::skippedPackets() const {
    return state_->skipped;
}
std::uint64_t VideoInput::concealedFrames() const {
    return state_->concealed;
}

void VideoInput::setOutputSize(int width, int height) {
    state_->outputWidth = width;
    state_->outputHeight = height;
}

int VideoInput::outputChannels() const {
    return state_->outputChannels;
}
void VideoInput::setOutputChannels(int channels) {
    state_->outputChannels = channels;
}

VideoRead VideoInput::readFrame(std::uint8_t* rgb, double& seconds, const ConvertedRows& rowsDone) {
    State& state = *state_;
    return readNext(seconds,
                    [&] { return state.convertFrame(rgb, state.outputChannels, rowsDone); });
}

VideoRead VideoInput::readPlanes(std::uint8_t* frame, double& seconds, YuvColours& colours) {
    State& state = *state_;
    return readNext(seconds, [&] {
        return state.planes.convert(*state.frame, frame, state.outputWidth, state.outputHeight,
                                    colours);
    });
}

VideoRead VideoInput::readNext(double& seconds, const std::function<bool()>& convert) {
    State& state = *state_;
    if (state.codec == nullptr) return VideoRead::failed;
    for (;;) {
        if (!state.framePending) {
            const int error = state.decodeFrame();
            if (error == AVERROR_EOF) return VideoRead::end;
            if (error < 0) return VideoRead::failed;
        }
        state.framePending = false;
        // The scale step; a frame the converter refuses (a format change inside a damaged
        // stream) is skipped like a damaged packet.
        if (!convert()) {
            ++state.skipped;
            continue;
        }
        seconds = state.lastSeconds = state.frameSeconds();
        return VideoRead::frame;
    }
}

bool VideoInput::planesSuit() const {
    const State& state = *state_;
    return state.frame != nullptr && state.turn == Orientation::asStored &&
           PlanarConversion::suits(state.frame->format);
}

double VideoInput::lastFrameBefore(double limit) {
    State& state = *state_;
    if (state.codec == nullptr) return limit;
    double last = 0;
    while (state.framePending || state.decodeFrame() == 0) {
        state.framePending = false;
        const double seconds = state.lastSeconds = state.frameSeconds();
        if (seconds >= limit) {
            last = limit;
            break;
        }
        last = seconds;
    }
    rewind();
    return last;
}

bool VideoInput::rewind() {
    State& state = *state_;
    if (state.codec == nullptr) return false;
    // Streams that are a run of packets (MPEG-TS and -PS) start again at their first byte: a
    // seek by timestamp searches them for one and can land past damage, well after the start.
    const int formatFlags = state.format->iformat->flags;
    const bool packetRun = (formatFlags & AVFMT_TS_DISCONT) && !(formatFlags & AVFMT_NO_BYTE_SEEK);
    if ((!packetRun || av_seek_frame(state.format, -1, 0, AVSEEK_FLAG_BYTE) < 0) &&
        av_seek_frame(state.format, state.stream->index, state.startTime, AVSEEK_FLAG_BACKWARD) <
            0) {
        return false;
    }
    avcodec_flush_buffers(state.codec);
    state.framePending = false;
    state.draining = false;
    state.lastSeconds = -1;
    return true;
}
