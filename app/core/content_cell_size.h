// The cell step and starting cell size of content the billboard was not drawn for: the user's
// pictures, and anything else of arbitrary size. The built-in pictures keep cellStep, whose
// whole cells divide the picture; content of any other size would often get a step as large
// as its smaller side from that rule (sides that share no divisor), one LED for the whole
// picture. Here a cell cut at the edge is accepted, as on a real wall.
#pragma once

#include "app/core/picture_catalogue.h"

// A wall takes at most this many LEDs along the picture's longer side at its starting cell
// size; more than this, and the LED structure no longer reads as a billboard in the 700-pixel
// window. Pictures up to this size, made for LED matrices, start at one LED per pixel.
constexpr int kStartingLedsAlongLongerSide = 200;

// Size and step of a picture of that size: the step is 1, or a tenth of the starting cell
// size once that passes 20, so that `=` and `-` change a large picture's cells visibly.
PictureInfo contentPictureInfo(int width, int height);

// The cell size such a picture starts with: the smallest multiple of its step that keeps the
// longer side within kStartingLedsAlongLongerSide LEDs (100 to 200 for any picture larger
// than that), never above the smaller side, which is as far as `=` goes.
int contentStartingPixelSize(const PictureInfo& info);

// How much smaller than its file a picture may be decoded (1, 2, 4 or 8) and keep its look: its
// starting cells, counted in the file's pixels, still span at least two decoded pixels each
// way, so each LED's colour is still the mean of the cell (see PictureLimits).
int largestPictureReduction(int width, int height);
