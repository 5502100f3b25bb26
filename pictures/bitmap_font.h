// The program's 5 by 7 bitmap font: upper-case letters, digits and common punctuation. The
// procedural pictures draw their lettering with it and the review's contact sheet its labels.
#pragma once

constexpr int kFontGlyphColumns = 5;
constexpr int kFontGlyphRows = 7;

// True when font pixel (column, row) of character c is set; row 0 is the top. Lower-case
// letters take their upper-case glyph; characters without a glyph are blank.
bool fontPixel(char c, int column, int row);
