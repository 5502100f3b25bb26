// The pictures' built-in 5 by 7 bitmap font. Letters are drawn either as blocks (one square
// per font pixel, the dot-matrix look) or as strokes joining neighbouring font pixels, which
// gives rounded bold lettering and the paths of neon tubes.
#pragma once

#include <string_view>
#include <vector>

#include "pictures/bitmap_font.h"
#include "tools/texture_generator/canvas.h"

namespace texgen {

constexpr int glyphColumns = kFontGlyphColumns;
constexpr int glyphRows = kFontGlyphRows;
// A glyph is glyphColumns wide plus one column of spacing.
constexpr int glyphAdvance = glyphColumns + 1;

// True when font pixel (column, row) of character c is set; row 0 is the top. Characters
// without a glyph are blank.
bool glyphPixel(char c, int column, int row);

// Width of text in font pixels of size cell (no spacing after the last glyph).
float textWidth(std::string_view text, float cell);

struct Segment {
    Point a, b;
};
// The strokes of text whose top-left font pixel corner is at origin; each font pixel has
// size cell and strokes join pixel centres (a lone pixel gives a segment of length 0).
std::vector<Segment> textStrokes(std::string_view text, Point origin, float cell);

void drawTextBlocks(Canvas& canvas, std::string_view text, Point origin, float cell, Color color,
                    float fill = 1, float alpha = 1);
void drawTextStrokes(Canvas& canvas, std::string_view text, Point origin, float cell, float width,
                     Color color, float alpha = 1);

}  // namespace texgen
