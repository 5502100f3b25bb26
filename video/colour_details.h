// The colours of a YUV video as players show them: the matrix the stream names (high
// definition's own when it names none, as players guess from the size) and its range. Shared by
// the conversion to RGB and by frames handed over as planes, so both show the same colours.
#pragma once

#include "frames/planar_frame.h"

struct AVFrame;

struct ColourDetails {
    int matrix = 0;          // an AVColorSpace
    bool fullRange = false;  // samples 0 to 255, not 16 to 235 (luma) and 240 (chroma)
    bool operator==(const ColourDetails&) const = default;
};

// For a frame of a YUV format.
ColourDetails colourDetailsOf(const AVFrame& frame);

// The step from samples to RGB that these details give, for the effects' shaders.
YuvColours yuvColoursOf(const ColourDetails& details);
