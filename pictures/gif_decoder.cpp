// GIF through giflib's record interface, one sub-image at a time, composed on a canvas the
// size of the logical screen: transparent pixels keep what is below, and each sub-image's
// disposal (keep, clear to the background, restore what was below) applies before the next.
// The canvas starts transparent, so over black; the background colour is not drawn, as in web
// browsers. A sub-image without a delay is shown at once with the next, as the format means:
// such sub-images build one frame together (tiles, or a frame drawn in parts).
// giflib's whole-file reader is not used: it allocates each frame at the size its descriptor
// claims before any check of ours. A sub-image whose minimum code size is 9 to 11, which
// giflib refuses and web browsers show, is read and decoded here (pictures/gif_lzw.h).
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "bmp/rgb_color.h"
#include "pictures/gif_lzw.h"
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

LoadOutcome gifFailure(const GifSource& source, int error) {
    if (source.ranOut) return loadFailure(LoadStatus::truncated, "truncated GIF file");
    if (error == D_GIF_ERR_NOT_ENOUGH_MEM) {
        return loadFailure(LoadStatus::outOfMemory, "out of memory");
    }
    const char* text = GifErrorString(error);
    return loadFailure(LoadStatus::corrupt,
                       std::string("corrupt GIF data (") + (text ? text : "unknown error") + ")");
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

// The part of the canvas a sub-image covers, clipped to the canvas.
struct CanvasRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    std::size_t rowBytes() const { return std::size_t{3} * static_cast<std::size_t>(right - left); }
};

struct GifCanvas {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;    // bottom row first, black where nothing was drawn
    std::vector<std::uint8_t> saved;  // what a sub-image to be undone covered, top row first

    std::uint8_t* pixel(int x, int y) {
        return rgb.data() + (std::size_t{3} * width) * (height - 1 - y) + std::size_t{3} * x;
    }
    CanvasRect clip(const GifImageDesc& frame) const {
        CanvasRect rect{std::max(frame.Left, 0), std::max(frame.Top, 0),
                        std::min(frame.Left + frame.Width, width),
                        std::min(frame.Top + frame.Height, height)};
        if (rect.right <= rect.left || rect.bottom <= rect.top) rect = {};
        return rect;
    }
    // Only the covered part is kept: saving the whole canvas for each of many small
    // sub-images would cost far more than drawing them.
    void save(const CanvasRect& rect) {
        saved.clear();
        for (int y = rect.top; y < rect.bottom; ++y) {
            const std::uint8_t* row = pixel(rect.left, y);
            saved.insert(saved.end(), row, row + rect.rowBytes());
        }
    }
    void restore(const CanvasRect& rect) {
        const std::uint8_t* from = saved.data();
        for (int y = rect.top; y < rect.bottom; ++y, from += rect.rowBytes())
            std::memcpy(pixel(rect.left, y), from, rect.rowBytes());
    }
};

// Reads what is left of a sub-image's data blocks, up to their terminator.
bool skipGifImageData(GifFileType* gif, bool started) {
    GifByteType* block = nullptr;
    int codeSize = 0;
    if ((started ? DGifGetCodeNext(gif, &block) : DGifGetCode(gif, &codeSize, &block)) != GIF_OK)
        return false;
    while (block != nullptr) {
        if (DGifGetCodeNext(gif, &block) != GIF_OK) return false;
    }
    return true;
}

// Whether DGifGetImageDesc failed only for a minimum code size above 8, the last byte it read,
// which giflib calls a read failure: the descriptor and colour table are then read, and the
// sub-image's data is next in the file.
bool hasWideCodes(const GifFileType* gif, const GifSource& source) {
    if (gif->Error != D_GIF_ERR_READ_FAILED || source.ranOut || source.position == 0) return false;
    const int codeSize = source.file[source.position - 1];
    return codeSize > 8 && codeSize <= kMaxLzwCodeSize;
}

// Reads a sub-image of wide codes straight from the file, its data blocks joined, decodes them
// and draws the pixels onto the canvas with drawIndices. False when the data runs out.
bool drawWideCodeFrame(GifFileType* gif, GifSource& source, GifCanvas& canvas, int transparentIndex,
                       bool& cutShort);

// Reads one sub-image's rows onto the canvas. Returns false on a giflib error. Data that ends
// before the sub-image's last pixel (its end code early) leaves the rest as it was, and sets
// cutShort, as web browsers show such files.
bool drawGifFrame(GifFileType* gif, GifCanvas& canvas, int transparentIndex, bool& cutShort) {
    if (gif->Image.Width <= 0 || gif->Image.Height <= 0) return skipGifImageData(gif, false);
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    const std::array<RgbColor, 256> palette = map ? paletteOf(map) : std::array<RgbColor, 256>{};
    std::vector<GifPixelType> line(static_cast<std::size_t>(std::max(frame.Width, 1)));
    const std::vector<int> rows =
        frame.Interlace ? interlacedRowOrder(frame.Height) : std::vector<int>();
    for (int i = 0; i < frame.Height; ++i) {
        if (DGifGetLine(gif, line.data(), frame.Width) != GIF_OK) {
            if (gif->Error != D_GIF_ERR_EOF_TOO_SOON) return false;
            cutShort = true;
            return skipGifImageData(gif, true);
        }
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

bool drawWideCodeFrame(GifFileType* gif, GifSource& source, GifCanvas& canvas, int transparentIndex,
                       bool& cutShort) {
    const int codeSize = source.file[source.position - 1];
    std::vector<std::uint8_t> data;
    for (;;) {
        if (source.position == source.file.size()) {
            source.ranOut = true;
            return false;
        }
        const std::size_t length = source.file[source.position++];
        if (length == 0) break;
        if (source.file.size() - source.position < length) {
            source.ranOut = true;
            return false;
        }
        const auto block = source.file.subspan(source.position, length);
        data.insert(data.end(), block.begin(), block.end());
        source.position += length;
    }
    const GifImageDesc& frame = gif->Image;
    if (frame.Width <= 0 || frame.Height <= 0) return true;
    std::vector<std::uint8_t> indices(std::size_t(frame.Width) * std::size_t(frame.Height));
    const LzwOutcome decoded = decodeGifLzw(data, codeSize, indices);
    if (decoded.end != LzwEnd::complete) cutShort = true;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    const std::array<RgbColor, 256> palette = map ? paletteOf(map) : std::array<RgbColor, 256>{};
    const std::vector<int> rows =
        frame.Interlace ? interlacedRowOrder(frame.Height) : std::vector<int>();
    const auto width = std::size_t(frame.Width);
    for (std::size_t i = 0; i * width < decoded.written; ++i) {
        const int y = frame.Top + (frame.Interlace ? rows[i] : static_cast<int>(i));
        if (y < 0 || y >= canvas.height) continue;
        const std::uint8_t* line = indices.data() + i * width;
        const auto last = static_cast<int>(
            std::min<std::size_t>({width, std::size_t(std::max(canvas.width - frame.Left, 0)),
                                   decoded.written - i * width}));
        for (int x = std::max(0, -frame.Left); x < last; ++x) {
            if (line[x] == transparentIndex) continue;
            putColor(canvas.pixel(frame.Left + x, y), palette[line[x]]);
        }
    }
    return true;
}

void clearGifRect(GifCanvas& canvas, const CanvasRect& rect) {
    for (int y = rect.top; y < rect.bottom; ++y)
        std::memset(canvas.pixel(rect.left, y), 0, rect.rowBytes());
}

// The application extension that makes a file loop, under either of its two names.
bool isLoopExtension(const GifByteType* block) {
    return block != nullptr && block[0] == 11 &&
           (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
            std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
}

// Reads a graphic control extension's settings, or whether the file loops, if the extension
// is one of those; skips the rest.
bool readGifExtension(GifFileType* gif, GraphicsControlBlock& control, bool& loops) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
        DGifExtensionToGCB(block[0], block + 1, &control);
    }
    if (code == APPLICATION_EXT_FUNC_CODE && isLoopExtension(block)) loops = true;
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

// Which sub-images become frames of their own.
enum class FrameGrouping {
    byDelay,        // a sub-image without a delay joins the next
    everySubImage,  // each one, for a looping file that gives no delay at all
};

struct GifFrames {
    int width = 0, height = 0;
    std::vector<PictureFrame> frames;
    std::vector<int> fileDelays;  // in ms, as the file gives them
    int subImageCount = 0;
    bool anyDelay = false;
    bool loops = false;
    bool cutShort = false;
};

LoadOutcome readGifFrames(std::span<const std::uint8_t> file, const PictureLimits& limits,
                          FrameGrouping grouping, GifFrames& result) {
    GifSource source{file};
    int error = 0;
    std::unique_ptr<GifFileType, CloseGif> gifFile(DGifOpen(&source, readGifBytes, &error));
    if (!gifFile) return gifFailure(source, error);
    GifFileType* gif = gifFile.get();

    GifCanvas canvas;
    GraphicsControlBlock control = noControl();
    bool pending = false;  // sub-images drawn since the last frame was taken
    const auto takeFrame = [&](int delayMs) {
        const std::size_t byteCount = canvas.rgb.size();
        PixelBuffer pixels = allocatePixelBuffer(byteCount);
        if (!pixels) return false;
        std::memcpy(pixels.get(), canvas.rgb.data(), byteCount);
        result.frames.push_back({std::move(pixels), 0});
        result.fileDelays.push_back(delayMs);
        pending = false;
        return true;
    };
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) != GIF_OK) return gifFailure(source, gif->Error);
        if (record == TERMINATE_RECORD_TYPE) break;
        if (record == EXTENSION_RECORD_TYPE) {
            if (!readGifExtension(gif, control, result.loops))
                return gifFailure(source, gif->Error);
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) continue;
        const bool wideCodes = DGifGetImageDesc(gif) != GIF_OK;
        if (wideCodes && !hasWideCodes(gif, source)) return gifFailure(source, gif->Error);
        const GifImageDesc& frame = gif->Image;
        if (canvas.rgb.empty()) {
            // A screen of no size takes the first frame's extent.
            canvas.width = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
            canvas.height = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
        }
        LoadOutcome size = checkPictureSize(static_cast<std::uint64_t>(canvas.width),
                                            static_cast<std::uint64_t>(canvas.height),
                                            result.frames.size() + 1, limits);
        if (!size.ok()) return size;
        // Rows outside the screen are decoded and dropped, so the frame's own size counts too.
        size = checkPictureSize(std::max(frame.Width, 1), std::max(frame.Height, 1), 1, limits);
        if (!size.ok()) return size;
        if (frame.ColorMap == nullptr && gif->SColorMap == nullptr) {
            return loadFailure(LoadStatus::corrupt, "corrupt GIF data (no colour table)");
        }
        if (canvas.rgb.empty()) canvas.rgb.assign(std::size_t{3} * canvas.width * canvas.height, 0);
        const CanvasRect covered = canvas.clip(frame);
        if (control.DisposalMode == DISPOSE_PREVIOUS) canvas.save(covered);
        const bool drawn =
            wideCodes
                ? drawWideCodeFrame(gif, source, canvas, control.TransparentColor, result.cutShort)
                : drawGifFrame(gif, canvas, control.TransparentColor, result.cutShort);
        if (!drawn) return gifFailure(source, gif->Error);
        ++result.subImageCount;
        pending = true;
        const int delayMs = control.DelayTime * 10;
        result.anyDelay = result.anyDelay || delayMs > 0;
        if (delayMs > 0 || grouping == FrameGrouping::everySubImage) {
            if (!takeFrame(delayMs)) return loadFailure(LoadStatus::outOfMemory, "out of memory");
        }
        if (control.DisposalMode == DISPOSE_BACKGROUND) clearGifRect(canvas, covered);
        if (control.DisposalMode == DISPOSE_PREVIOUS) canvas.restore(covered);
        control = noControl();
    }
    if (result.subImageCount == 0)
        return loadFailure(LoadStatus::corrupt, "corrupt GIF data (no picture)");
    // The last sub-images gave no delay: what they built is the last frame, shown as long as
    // a frame without a delay is.
    if (pending && !takeFrame(0)) return loadFailure(LoadStatus::outOfMemory, "out of memory");
    result.width = canvas.width;
    result.height = canvas.height;
    return {};
}

}  // namespace

LoadOutcome decodeGifPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                             Picture& picture) {
    GifFrames result;
    LoadOutcome outcome = readGifFrames(file, limits, FrameGrouping::byDelay, result);
    if (!outcome.ok()) return outcome;
    // A looping file without a single delay is an animation whose tool wrote none; web
    // browsers play its sub-images one by one, at the common delay.
    if (result.loops && !result.anyDelay && result.subImageCount > 1) {
        result = {};
        outcome = readGifFrames(file, limits, FrameGrouping::everySubImage, result);
        if (!outcome.ok()) return outcome;
    }
    std::vector<PictureFrame>& frames = result.frames;
    if (frames.size() > 1) {
        for (std::size_t i = 0; i < frames.size(); ++i)
            frames[i].delayMs = frameDelayMs(result.fileDelays[i]);
    }
    picture.width = result.width;
    picture.height = result.height;
    picture.frames = std::move(frames);
    if (result.cutShort) outcome.warning = "damaged GIF data (a frame ends before its last pixel)";
    return outcome;
}
