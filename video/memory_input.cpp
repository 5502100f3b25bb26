// MemoryInput: the read and seek callbacks of a custom AVIOContext over a byte span.
#include "video/memory_input.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/mem.h>
}

namespace {

// libavformat's own file reads use buffers of this size.
constexpr int kReadBufferSize = 32768;

}  // namespace

MemoryInput::~MemoryInput() {
    if (context_ != nullptr) av_freep(&context_->buffer);
    avio_context_free(&context_);
}

AVIOContext* MemoryInput::open(std::span<const std::uint8_t> bytes) {
    bytes_ = bytes;
    position_ = 0;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kReadBufferSize));
    if (buffer == nullptr) return nullptr;
    context_ = avio_alloc_context(buffer, kReadBufferSize, 0, this, read, nullptr, seek);
    if (context_ == nullptr) av_free(buffer);
    return context_;
}

int MemoryInput::read(void* opaque, std::uint8_t* buffer, int size) {
    auto& input = *static_cast<MemoryInput*>(opaque);
    const std::size_t left = input.bytes_.size() - input.position_;
    if (left == 0) return AVERROR_EOF;
    const std::size_t count = std::min(left, static_cast<std::size_t>(std::max(size, 0)));
    std::memcpy(buffer, input.bytes_.data() + input.position_, count);
    input.position_ += count;
    return static_cast<int>(count);
}

std::int64_t MemoryInput::seek(void* opaque, std::int64_t offset, int whence) {
    auto& input = *static_cast<MemoryInput*>(opaque);
    const auto size = static_cast<std::int64_t>(input.bytes_.size());
    std::int64_t target = 0;
    switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return size;
        case SEEK_SET:
            target = offset;
            break;
        case SEEK_CUR:
            target = static_cast<std::int64_t>(input.position_) + offset;
            break;
        case SEEK_END:
            target = size + offset;
            break;
        default:
            return AVERROR(EINVAL);
    }
    if (target < 0 || target > size) return AVERROR(EINVAL);
    input.position_ = static_cast<std::size_t>(target);
    return target;
}
