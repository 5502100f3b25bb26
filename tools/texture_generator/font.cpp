// Text drawing with the program's bitmap font (see font.h).
#include "tools/texture_generator/font.h"

#include <algorithm>
#include <cmath>

#include "pictures/bitmap_font.h"

namespace texgen {

bool glyphPixel(char c, int column, int row) {
    // The pictures' lettering is upper case: lower-case letters stay blank here.
    if (c >= 'a' && c <= 'z') return false;
    return fontPixel(c, column, row);
}

float textWidth(std::string_view text, float cell) {
    if (text.empty()) return 0;
    return (static_cast<float>(text.size()) * glyphAdvance - 1) * cell;
}

std::vector<Segment> textStrokes(std::string_view text, Point origin, float cell) {
    std::vector<Segment> strokes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        float left = origin.x + static_cast<float>(i * glyphAdvance) * cell;
        auto centre = [&](int column, int row) {
            return Point{left + (column + 0.5f) * cell, origin.y + (row + 0.5f) * cell};
        };
        for (int row = 0; row < glyphRows; ++row)
            for (int column = 0; column < glyphColumns; ++column) {
                if (!glyphPixel(c, column, row)) continue;
                bool joined = false;
                auto join = [&](int toColumn, int toRow) {
                    strokes.push_back({centre(column, row), centre(toColumn, toRow)});
                    joined = true;
                };
                if (glyphPixel(c, column + 1, row)) join(column + 1, row);
                if (glyphPixel(c, column, row + 1)) join(column, row + 1);
                // Diagonals only where no orthogonal path already turns the corner.
                if (glyphPixel(c, column + 1, row + 1) && !glyphPixel(c, column + 1, row) &&
                    !glyphPixel(c, column, row + 1))
                    join(column + 1, row + 1);
                if (glyphPixel(c, column - 1, row + 1) && !glyphPixel(c, column - 1, row) &&
                    !glyphPixel(c, column, row + 1))
                    join(column - 1, row + 1);
                bool reached =
                    glyphPixel(c, column - 1, row) || glyphPixel(c, column, row - 1) ||
                    (glyphPixel(c, column - 1, row - 1) && !glyphPixel(c, column - 1, row) &&
                     !glyphPixel(c, column, row - 1)) ||
                    (glyphPixel(c, column + 1, row - 1) && !glyphPixel(c, column + 1, row) &&
                     !glyphPixel(c, column, row - 1));
                if (!joined && !reached) join(column, row);
            }
    }
    return strokes;
}

void drawTextBlocks(Canvas& canvas, std::string_view text, Point origin, float cell, Color color,
                    float fill, float alpha) {
    float inset = cell * (1 - fill) / 2;
    for (std::size_t i = 0; i < text.size(); ++i)
        for (int row = 0; row < glyphRows; ++row)
            for (int column = 0; column < glyphColumns; ++column) {
                if (!glyphPixel(text[i], column, row)) continue;
                float x = origin.x + (static_cast<float>(i * glyphAdvance) + column) * cell;
                float y = origin.y + row * cell;
                canvas.fillRect(x + inset, y + inset, x + cell - inset, y + cell - inset, color,
                                alpha);
            }
}

void drawTextStrokes(Canvas& canvas, std::string_view text, Point origin, float cell, float width,
                     Color color, float alpha) {
    std::vector<Segment> strokes = textStrokes(text, origin, cell);
    if (strokes.empty()) return;
    float r = width / 2;
    float x1 = origin.x + textWidth(text, cell), y1 = origin.y + glyphRows * cell;
    // One coverage over all strokes, so overlapping joints are not blended twice.
    canvas.paint(
        origin.x - r - 1, origin.y - r - 1, x1 + r + 1, y1 + r + 1, color, [&](float x, float y) {
            float d = 1e9f;
            for (const Segment& s : strokes) {
                if (std::abs(s.a.x - x) > cell + r + 1 && std::abs(s.b.x - x) > cell + r + 1)
                    continue;
                d = std::min(d, segmentDistance({x, y}, s.a, s.b));
            }
            return clamp01(r - d + 0.5f) * alpha;
        });
}

}  // namespace texgen
