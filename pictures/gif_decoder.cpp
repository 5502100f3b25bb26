// GIF through giflib's record interface, one frame at a time, composed on a canvas the size of
// the logical screen: transparent pixels keep what is below, and each frame's disposal (keep,
// clear to the background, restore the previous canvas) applies before the next. The canvas
// starts transparent, so over black; the background colour is not drawn, as in web browsers.
// giflib's whole-file reader is not used: it allocates each frame at the size its descriptor
// claims before any check of ours.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "image/rgb_color.h"
#include "pictures/picture_decoders.h"
#include "pictures/picture_rows.h"

namespace {

struct GifSource {
    std::span<const std::uint8_t> file;
    std::size_t position = 0;
    bool ranOut = false;
};

int readGifBytes(GifFileType* gif, GifByteType* buffer, int count) {
    auto& source = *static_cast<GifSource*>(gif->UserData);
    const std::size_t left = source.file.size() - source.position;
    const std::size_t given = std::min<std::size_t>(left, static_cast<std::size_t>(count));
    std::memcpy(buffer, source.file.data() + source.position, given);
    source.position += given;
    if (given < static_cast<std::size_t>(count)) source.ranOut = true;
    return static_cast<int>(given);
}

struct CloseGif {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

PictureOutcome gifFailure(const GifSource& source, int error) {
    if (source.ranOut) return pictureFailure(PictureStatus::truncated, "truncated GIF file");
    if (error == D_GIF_ERR_NOT_ENOUGH_MEM) {
        return pictureFailure(PictureStatus::outOfMemory, "out of memory");
    }
    const char* text = GifErrorString(error);
    return pictureFailure(PictureStatus::corrupt, std::string("corrupt GIF data (") +
                                                      (text ? text : "unknown error") + ")");
}

// Row order of an interlaced frame: every 8th row from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1.
std::vector<int> interlacedRowOrder(int height) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    constexpr int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < height; y += steps[pass]) order.push_back(y);
    return order;
}

// Colours by index; entries past the file's table are black, so any index is safe.
std::array<RgbColor, 256> paletteOf(const ColorMapObject* map) {
    std::array<RgbColor, 256> palette{};
    const int count = std::min(map->ColorCount, 256);
    for (int i = 0; i < count; ++i) {
        palette[i] = {map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue};
    }
    return palette;
}

struct GifCanvas {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // bottom row first, black where nothing was drawn
    std::vector<std::uint8_t> saved;

    std::uint8_t* pixel(int x, int y) {
        return rgb.data() + (std::size_t{3} * width) * (height - 1 - y) + std::size_t{3} * x;
    }
};

// Reads one frame's rows onto the canvas. Returns false on a giflib error.
bool drawGifFrame(GifFileType* gif, GifCanvas& canvas, int transparentIndex) {
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    const std::array<RgbColor, 256> palette = map ? paletteOf(map) : std::array<RgbColor, 256>{};
    std::vector<GifPixelType> line(static_cast<std::size_t>(std::max(frame.Width, 1)));
    const std::vector<int> rows =
        frame.Interlace ? interlacedRowOrder(frame.Height) : std::vector<int>();
    for (int i = 0; i < frame.Height; ++i) {
        if (DGifGetLine(gif, line.data(), frame.Width) != GIF_OK) return false;
        const int y = frame.Top + (frame.Interlace ? rows[static_cast<std::size_t>(i)] : i);
        if (y < 0 || y >= canvas.height) continue;
        const int last = std::min(frame.Width, canvas.width - frame.Left);
        for (int x = std::max(0, -frame.Left); x < last; ++x) {
            const int index = line[static_cast<std::size_t>(x)];
            if (index == transparentIndex) continue;
            putColor(canvas.pixel(frame.Left + x, y), palette[static_cast<std::size_t>(index)]);
        }
    }
    return true;
}

void clearGifRect(GifCanvas& canvas, const GifImageDesc& frame) {
    const int left = std::max(frame.Left, 0),
              right = std::min(frame.Left + frame.Width, canvas.width);
    const int top = std::max(frame.Top, 0),
              bottom = std::min(frame.Top + frame.Height, canvas.height);
    for (int y = top; y < bottom && left < right; ++y) {
        std::memset(canvas.pixel(left, y), 0, std::size_t{3} * (right - left));
    }
}

// Reads a graphic control extension's settings, if the extension is one; skips the rest.
bool readGifExtension(GifFileType* gif, GraphicsControlBlock& control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
        DGifExtensionToGCB(block[0], block + 1, &control);
    }
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    }
    return true;
}

GraphicsControlBlock noControl() {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    return control;
}

}  // namespace

PictureOutcome decodeGifPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                                Picture& picture) {
    GifSource source{file};
    int error = 0;
    std::unique_ptr<GifFileType, CloseGif> gifFile(DGifOpen(&source, readGifBytes, &error));
    if (!gifFile) return gifFailure(source, error);
    GifFileType* gif = gifFile.get();

    GifCanvas canvas;
    std::vector<PictureFrame> frames;
    std::vector<int> fileDelays;
    GraphicsControlBlock control = noControl();
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) != GIF_OK) return gifFailure(source, gif->Error);
        if (record == TERMINATE_RECORD_TYPE) break;
        if (record == EXTENSION_RECORD_TYPE) {
            if (!readGifExtension(gif, control)) return gifFailure(source, gif->Error);
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif) != GIF_OK) return gifFailure(source, gif->Error);
        const GifImageDesc& frame = gif->Image;
        if (canvas.rgb.empty()) {
            // A screen of no size takes the first frame's extent.
            canvas.width = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
            canvas.height = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
        }
        PictureOutcome size =
            checkPictureSize(static_cast<std::uint64_t>(canvas.width),
                             static_cast<std::uint64_t>(canvas.height), frames.size() + 1, limits);
        if (!size.ok()) return size;
        // Rows outside the screen are decoded and dropped, so the frame's own size counts too.
        size = checkPictureSize(std::max(frame.Width, 1), std::max(frame.Height, 1), 1, limits);
        if (!size.ok()) return size;
        if (frame.ColorMap == nullptr && gif->SColorMap == nullptr) {
            return pictureFailure(PictureStatus::corrupt, "corrupt GIF data (no colour table)");
        }
        const std::size_t byteCount = std::size_t{3} * canvas.width * canvas.height;
        if (canvas.rgb.empty()) canvas.rgb.assign(byteCount, 0);
        if (control.DisposalMode == DISPOSE_PREVIOUS) canvas.saved = canvas.rgb;
        if (!drawGifFrame(gif, canvas, control.TransparentColor)) {
            return gifFailure(source, gif->Error);
        }
        PixelBuffer pixels = allocatePixelBuffer(byteCount);
        if (!pixels) return pictureFailure(PictureStatus::outOfMemory, "out of memory");
        std::memcpy(pixels.get(), canvas.rgb.data(), byteCount);
        frames.push_back({std::move(pixels), 0});
        fileDelays.push_back(control.DelayTime * 10);
        if (control.DisposalMode == DISPOSE_BACKGROUND) clearGifRect(canvas, frame);
        if (control.DisposalMode == DISPOSE_PREVIOUS) canvas.rgb.swap(canvas.saved);
        control = noControl();
    }
    if (frames.empty())
        return pictureFailure(PictureStatus::corrupt, "corrupt GIF data (no picture)");
    if (frames.size() > 1) {
        for (std::size_t i = 0; i < frames.size(); ++i)
            frames[i].delayMs = frameDelayMs(fileDelays[i]);
    }
    picture.width = canvas.width;
    picture.height = canvas.height;
    picture.frames = std::move(frames);
    return {};
}
