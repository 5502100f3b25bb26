// A plain libavformat and libavcodec decode loop, as FFmpeg's own examples write it.
#include "bench/video/ffmpeg_decode_peer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

int decodeWithFfmpeg(const std::string& path, const std::function<void()>& opened,
                     const std::function<void()>& firstFrame) {
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return -1;
    int frames = -1;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const AVCodec* decoder = nullptr;
    const int stream = avformat_find_stream_info(format, nullptr) < 0
                           ? -1
                           : av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (stream >= 0 && (codec = avcodec_alloc_context3(decoder)) != nullptr &&
        avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) >= 0 &&
        (codec->thread_count = 0, avcodec_open2(codec, decoder, nullptr)) >= 0) {
        frames = 0;
        if (opened) opened();
        const auto drain = [&] {
            while (avcodec_receive_frame(codec, frame) == 0)
                if (++frames == 1 && firstFrame) firstFrame();
        };
        while (av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == stream && avcodec_send_packet(codec, packet) >= 0) drain();
            av_packet_unref(packet);
        }
        avcodec_send_packet(codec, nullptr);
        drain();
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    return frames;
}
