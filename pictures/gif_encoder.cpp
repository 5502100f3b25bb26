// encodeGif through giflib's record interface: screen, looping extension, then per frame a
// graphic control extension, the image descriptor and its rows.
#include <gif_lib.h>

#include <cstring>

#include "pictures/picture_encoders.h"

namespace {

int appendGifBytes(GifFileType* gif, const GifByteType* bytes, int count) {
    auto& file = *static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    file.insert(file.end(), bytes, bytes + count);
    return count;
}

// The colour table holds a power of two of entries; the rest are black.
ColorMapObject* makeColorMap(const std::vector<std::array<std::uint8_t, 3>>& palette) {
    int size = 2;
    while (size < static_cast<int>(palette.size())) size *= 2;
    std::vector<GifColorType> colors(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i) {
        colors[i] = {palette[i][0], palette[i][1], palette[i][2]};
    }
    return GifMakeMapObject(size, colors.data());
}

bool putLoopExtension(GifFileType* gif) {
    static const GifByteType application[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                              'P', 'E', '2', '.', '0'};
    static const GifByteType loopForever[] = {1, 0, 0};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, sizeof application, application) == GIF_OK &&
           EGifPutExtensionBlock(gif, sizeof loopForever, loopForever) == GIF_OK &&
           EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool putFrame(GifFileType* gif, const GifFrameSpec& frame) {
    GraphicsControlBlock control{};
    control.DisposalMode = frame.disposal;
    control.DelayTime = frame.delayCentiseconds;
    control.TransparentColor = frame.transparentIndex;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) !=
            GIF_OK ||
        EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced,
                         nullptr) != GIF_OK) {
        return false;
    }
    // Interlaced frames store rows by pass: every 8th from 0, every 8th from 4, every 4th
    // from 2, every 2nd from 1.
    constexpr int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.width));
    for (int pass = frame.interlaced ? 0 : 3; pass < 4; ++pass) {
        const int start = frame.interlaced ? starts[pass] : 0,
                  step = frame.interlaced ? steps[pass] : 1;
        for (int y = start; y < frame.height; y += step) {
            std::memcpy(line.data(), frame.indices.data() + std::size_t(frame.width) * y,
                        line.size());
            if (EGifPutLine(gif, line.data(), frame.width) != GIF_OK) return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::uint8_t> encodeGif(const GifSpec& spec) {
    if (spec.width <= 0 || spec.height <= 0 || spec.palette.empty() || spec.palette.size() > 256) {
        return {};
    }
    for (const GifFrameSpec& frame : spec.frames) {
        if (frame.indices.size() != std::size_t(frame.width) * frame.height) return {};
    }
    std::vector<std::uint8_t> file;
    int error = 0;
    GifFileType* gif = EGifOpen(&file, appendGifBytes, &error);
    if (gif == nullptr) return {};
    EGifSetGifVersion(gif, true);
    ColorMapObject* colors = makeColorMap(spec.palette);
    bool written = colors != nullptr &&
                   EGifPutScreenDesc(gif, spec.width, spec.height, 8, 0, colors) == GIF_OK &&
                   (spec.frames.size() < 2 || !spec.loops || putLoopExtension(gif));
    for (const GifFrameSpec& frame : spec.frames) written = written && putFrame(gif, frame);
    GifFreeMapObject(colors);
    if (EGifCloseFile(gif, &error) != GIF_OK) written = false;
    if (!written) file.clear();
    return file;
}
