// Pictures drawn from code for the README's review and the picture benchmarks: a photo-like
// scene, a badge with transparent corners and a scrolling ticker animation.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/picture_encoders.h"

// Smooth light over large shapes with fine texture and sensor-like noise, RGB, bottom row
// first: it compresses the way a photograph does (neither flat nor random).
std::vector<std::uint8_t> photoLikeRgb(int width, int height);

// A round badge on a transparent square, RGBA, bottom row first.
std::vector<std::uint8_t> badgeRgba(int side);

// A text scrolling across a dark strip in `frames` steps, as a GIF animation.
GifSpec tickerGif(int width, int height, int frames);
