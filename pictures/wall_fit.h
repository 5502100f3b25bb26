// Content of any size on a wall of LEDs, as a wall's processor puts it there: scaled to the
// wall's own resolution by an area filter, one wall pixel an LED, in one of three fits.
#pragma once

#include <cstdint>

enum class WallFit {
    contain,  // all of it, unlit (black) LEDs around
    cover,    // fills the wall, cut at the edges
    stretch,  // fills the wall, out of proportion
};

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The part of the content shown and the part of the wall it fills. Whole pixels both: a cut
// falls between source pixels, a border between LEDs (the centred remainder rounded down).
struct WallFitRects {
    PixelRect source;
    PixelRect wall;
};
WallFitRects wallFitRects(int sourceWidth, int sourceHeight, int wallWidth, int wallHeight,
                          WallFit fit);

// `pixels` (rows of `channels` bytes a pixel, 3 or 4, bottom row first; a fourth byte is
// ignored) fitted onto a wall of wallWidth by wallHeight, written to `wallRgb` as RGB rows,
// bottom row first, black outside the content.
void fitToWall(const std::uint8_t* pixels, int channels, int sourceWidth, int sourceHeight,
               int wallWidth, int wallHeight, WallFit fit, std::uint8_t* wallRgb);

// One plane of samples (one byte each: a video's luma or chroma) fitted the same way, the wall
// outside the content set to `unlit`, the plane's value for an unlit LED.
void fitPlaneToWall(const std::uint8_t* plane, int sourceWidth, int sourceHeight, int wallWidth,
                    int wallHeight, WallFit fit, std::uint8_t unlit, std::uint8_t* wallPlane);
