// The sheet is composed top row first, the way it is laid out, and flipped once at the end.
#include "pictures/contact_sheet.h"

#include <algorithm>
#include <cstring>

#include "pictures/bitmap_font.h"
#include "pictures/picture_scale.h"

namespace {

constexpr int kMargin = 12;
constexpr int kFontScale = 2;  // screen pixels per font pixel
constexpr int kGlyphAdvance = (kFontGlyphColumns + 1) * kFontScale;
constexpr int kLabelLineHeight = (kFontGlyphRows + 3) * kFontScale;
constexpr int kLabelLines = 2;
constexpr int kLabelHeight = kLabelLines * kLabelLineHeight + 4;
constexpr std::uint8_t kBackground = 32;
constexpr std::uint8_t kLabelLevel = 230;

struct Canvas {
    int width, height;
    std::vector<std::uint8_t> rgb;  // top row first while composing

    std::uint8_t* at(int x, int y) { return rgb.data() + (std::size_t(y) * width + x) * 3; }
};

void drawLine(Canvas& canvas, const std::string& line, int left, int top, int maxWidth) {
    const std::size_t fitting = static_cast<std::size_t>(std::max(0, maxWidth / kGlyphAdvance));
    const std::string text = line.substr(0, fitting);
    for (std::size_t i = 0; i < text.size(); ++i)
        for (int row = 0; row < kFontGlyphRows; ++row)
            for (int column = 0; column < kFontGlyphColumns; ++column) {
                if (!fontPixel(text[i], column, row)) continue;
                const int x0 = left + static_cast<int>(i) * kGlyphAdvance + column * kFontScale;
                for (int dy = 0; dy < kFontScale; ++dy)
                    std::memset(canvas.at(x0, top + row * kFontScale + dy), kLabelLevel,
                                3 * kFontScale);
            }
}

void drawLabel(Canvas& canvas, const std::string& label, int left, int top, int maxWidth) {
    std::size_t start = 0;
    for (int line = 0; line < kLabelLines && start <= label.size(); ++line) {
        const std::size_t end = std::min(label.find('\n', start), label.size());
        drawLine(canvas, label.substr(start, end - start), left, top + line * kLabelLineHeight,
                 maxWidth);
        start = end + 1;
    }
}

}  // namespace

ContactSheet buildContactSheet(const std::vector<SheetPicture>& pictures, int columns,
                               int tileSide) {
    if (pictures.empty() || columns < 1 || tileSide < 1) return {};
    const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    const int cellWidth = tileSide + kMargin, cellHeight = tileSide + kLabelHeight + kMargin;
    Canvas canvas{kMargin + columns * cellWidth, kMargin + rows * cellHeight, {}};
    canvas.rgb.assign(std::size_t(canvas.width) * canvas.height * 3, kBackground);

    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const SheetPicture& picture = pictures[i];
        const int left = kMargin + static_cast<int>(i % columns) * cellWidth;
        const int top = kMargin + static_cast<int>(i / columns) * cellHeight;
        drawLabel(canvas, picture.label, left, top + tileSide + 4, tileSide);
        if (picture.width < 1 || picture.height < 1 ||
            picture.rgb.size() != std::size_t(picture.width) * picture.height * 3) {
            continue;
        }
        const PictureSize size = fittedSize({picture.width, picture.height}, tileSide);
        const PixelBuffer tile =
            areaScale(picture.rgb.data(), {picture.width, picture.height}, size);
        if (!tile) continue;
        const int x0 = left + (tileSide - size.width) / 2;
        const int y0 = top + (tileSide - size.height) / 2;
        const std::size_t rowBytes = std::size_t(size.width) * 3;
        for (int y = 0; y < size.height; ++y)  // tile rows are bottom first
            std::memcpy(canvas.at(x0, y0 + y), tile.get() + rowBytes * (size.height - 1 - y),
                        rowBytes);
    }

    ContactSheet sheet{canvas.width, canvas.height, std::vector<std::uint8_t>(canvas.rgb.size())};
    const std::size_t rowBytes = std::size_t(canvas.width) * 3;
    for (int y = 0; y < canvas.height; ++y)
        std::memcpy(sheet.rgb.data() + rowBytes * (canvas.height - 1 - y), canvas.at(0, y),
                    rowBytes);
    return sheet;
}
