// ClipWriter: RGB to yuv420p by libswscale, libx264 through libavcodec (the first H.264
// encoder there otherwise), the MP4 muxer writing into memory, which can seek back to fill in
// sizes, then one replaceFile. Bit-exact flags and a fixed thread count make the same frames
// give the same file on every run.
#include "video/clip_writer.h"

#include <algorithm>
#include <cstring>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "files/replacement_file.h"
#include "video/libav_text.h"

namespace {

// Threads the encoder uses on every machine: its output depends on the count.
constexpr int kEncoderThreads = 2;
constexpr int kOutputBufferSize = 65536;

// The muxer's output: bytes in memory with a position it may seek back to.
struct MemoryOutput {
    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;

    static int write(void* opaque, std::uint8_t* data, int size) {
        auto& output = *static_cast<MemoryOutput*>(opaque);
        const std::size_t end = output.position + static_cast<std::size_t>(size);
        if (end > output.bytes.size()) output.bytes.resize(end);
        std::memcpy(output.bytes.data() + output.position, data, static_cast<std::size_t>(size));
        output.position = end;
        return size;
    }

    static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
        auto& output = *static_cast<MemoryOutput*>(opaque);
        const auto size = static_cast<std::int64_t>(output.bytes.size());
        std::int64_t target = offset;
        switch (whence & ~AVSEEK_FORCE) {
            case AVSEEK_SIZE:
                return size;
            case SEEK_SET:
                break;
            case SEEK_CUR:
                target += static_cast<std::int64_t>(output.position);
                break;
            case SEEK_END:
                target += size;
                break;
            default:
                return AVERROR(EINVAL);
        }
        if (target < 0) return AVERROR(EINVAL);
        output.position = static_cast<std::size_t>(target);
        return target;
    }
};

}  // namespace

struct ClipWriter::State {
    std::string path;
    int width = 0, height = 0;          // of the frames given
    int clipWidth = 0, clipHeight = 0;  // encoded: even sides
    MemoryOutput output;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* conversion = nullptr;
    std::int64_t nextPts = 0;
    bool headerWritten = false;

    ~State() {
        sws_freeContext(conversion);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        avformat_free_context(format);
        if (io != nullptr) av_freep(&io->buffer);
        avio_context_free(&io);
    }

    // Hands what the encoder has ready to the muxer.
    int writePackets() {
        for (;;) {
            int error = avcodec_receive_packet(codec, packet);
            if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return 0;
            if (error < 0) return error;
            // Each frame lasts one tick of the rate; the MP4 muxer takes a last frame without a
            // duration as lasting nothing, and its edit list would leave it out.
            if (packet->duration <= 0) packet->duration = 1;
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            error = av_interleaved_write_frame(format, packet);
            if (error < 0) return error;
        }
    }
};

ClipWriter::ClipWriter() {
    quietLibavLog();
}
ClipWriter::~ClipWriter() = default;

bool ClipWriter::open(const std::string& path, int width, int height, double fps) {
    error_.clear();
    state_ = std::make_unique<State>();
    State& state = *state_;
    const auto fail = [&](const std::string& why) {
        error_ = why;
        state_.reset();
        return false;
    };
    if (width < 2 || height < 2 || !(fps > 0)) return fail("no frames to encode at that size");
    state.path = path;
    state.width = width;
    state.height = height;
    state.clipWidth = width & ~1;
    state.clipHeight = height & ~1;

    const AVCodec* encoder = avcodec_find_encoder_by_name("libx264");
    if (encoder == nullptr) encoder = avcodec_find_encoder(AV_CODEC_ID_H264);
    if (encoder == nullptr) return fail("no H.264 encoder in this FFmpeg");
    if (avformat_alloc_output_context2(&state.format, nullptr, "mp4", nullptr) < 0) {
        return fail("no MP4 writer in this FFmpeg");
    }
    state.codec = avcodec_alloc_context3(encoder);
    state.frame = av_frame_alloc();
    state.packet = av_packet_alloc();
    auto* buffer = static_cast<unsigned char*>(av_malloc(kOutputBufferSize));
    if (buffer != nullptr) {
        state.io = avio_alloc_context(buffer, kOutputBufferSize, 1, &state.output, nullptr,
                                      MemoryOutput::write, MemoryOutput::seek);
        if (state.io == nullptr) av_free(buffer);
    }
    if (state.codec == nullptr || state.frame == nullptr || state.packet == nullptr ||
        state.io == nullptr) {
        return fail("out of memory");
    }
    state.format->pb = state.io;
    state.format->flags |= AVFMT_FLAG_CUSTOM_IO | AVFMT_FLAG_BITEXACT;

    const AVRational rate = av_d2q(fps, 100000);
    AVCodecContext& codec = *state.codec;
    codec.width = state.clipWidth;
    codec.height = state.clipHeight;
    codec.pix_fmt = AV_PIX_FMT_YUV420P;
    codec.time_base = av_inv_q(rate);
    codec.framerate = rate;
    codec.gop_size = std::max(1, static_cast<int>(fps * 2));
    // Without B-frames the first frame is due at 0 with no edit list to shift the clip.
    codec.max_b_frames = 0;
    codec.thread_count = kEncoderThreads;
    codec.flags |= AV_CODEC_FLAG_BITEXACT;
    // libswscale's RGB to YUV conversion uses BT.601 studio range; the file says so, so players
    // turn it back the same way.
    codec.colorspace = AVCOL_SPC_SMPTE170M;
    codec.color_primaries = AVCOL_PRI_SMPTE170M;
    codec.color_trc = AVCOL_TRC_SMPTE170M;
    codec.color_range = AVCOL_RANGE_MPEG;
    if (state.format->oformat->flags & AVFMT_GLOBALHEADER)
        codec.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    av_opt_set(codec.priv_data, "preset", "fast", 0);
    av_opt_set(codec.priv_data, "crf", "20", 0);
    if (const int error = avcodec_open2(state.codec, encoder, nullptr); error < 0) {
        return fail("cannot open the H.264 encoder (" + libavErrorText(error) + ")");
    }
    state.stream = avformat_new_stream(state.format, nullptr);
    if (state.stream == nullptr) return fail("out of memory");
    state.stream->time_base = codec.time_base;
    if (const int error = avcodec_parameters_from_context(state.stream->codecpar, state.codec);
        error < 0) {
        return fail(libavErrorText(error));
    }
    if (const int error = avformat_write_header(state.format, nullptr); error < 0) {
        return fail("cannot write the MP4 header (" + libavErrorText(error) + ")");
    }
    state.headerWritten = true;

    state.frame->format = AV_PIX_FMT_YUV420P;
    state.frame->width = state.clipWidth;
    state.frame->height = state.clipHeight;
    if (av_frame_get_buffer(state.frame, 0) < 0) return fail("out of memory");
    state.conversion = sws_getContext(state.clipWidth, state.clipHeight, AV_PIX_FMT_RGB24,
                                      state.clipWidth, state.clipHeight, AV_PIX_FMT_YUV420P,
                                      SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (state.conversion == nullptr) return fail("out of memory");
    return true;
}

bool ClipWriter::addFrame(const std::uint8_t* rgb) {
    if (!state_) return false;
    State& state = *state_;
    if (const int error = av_frame_make_writable(state.frame); error < 0) {
        error_ = libavErrorText(error);
        return false;
    }
    // Top row first for the encoder: start at the last row given and step back.
    const int stride = state.width * 3;
    const std::uint8_t* rows[4] = {rgb + static_cast<std::ptrdiff_t>(state.height - 1) * stride};
    const int strides[4] = {-stride};
    sws_scale(state.conversion, rows, strides, 0, state.clipHeight, state.frame->data,
              state.frame->linesize);
    state.frame->pts = state.nextPts++;
    int error = avcodec_send_frame(state.codec, state.frame);
    if (error >= 0) error = state.writePackets();
    if (error < 0) {
        error_ = "cannot encode the clip (" + libavErrorText(error) + ")";
        return false;
    }
    return true;
}

bool ClipWriter::finish() {
    if (!state_) return false;
    State& state = *state_;
    int error = avcodec_send_frame(state.codec, nullptr);
    if (error >= 0) error = state.writePackets();
    if (error >= 0) error = av_write_trailer(state.format);
    if (error < 0) {
        error_ = "cannot encode the clip (" + libavErrorText(error) + ")";
        state_.reset();
        return false;
    }
    avio_flush(state.io);
    const int written = replaceFile(state.path.c_str(), state.output.bytes);
    state_.reset();
    if (written != 0) {
        error_ = std::strerror(written);
        return false;
    }
    return true;
}
