// The low-pass filter of the eye view: what a viewer's eyes do not resolve taken out of the
// picture drawn at kEyeViewPixelsPerAcuity window pixels an acuity angle. A pattern whose period
// is the acuity angle is the limit; the filter keeps nearly all of a pattern 1.25 times coarser
// and nearly none of one 0.8 times as fine, leaving its mean light.
#pragma once

#include <array>

// The eye view is drawn this many times finer each way than the window, filtered and only then
// taken down to the window's pixels: drawn at the window's own four pixels an acuity angle, the
// LEDs' sharp edges fold harmonics below the filter's cut, where it cannot take them out.
constexpr int kEyeViewSupersampling = 2;

// Half the filter's window in window pixels: its length sets how sharply the filter falls from
// passing to stopping between the two periods above.
constexpr int kEyeFilterHalfWindow = 17;

// Taps on one side of the centre at the finest drawing.
constexpr int kEyeFilterMaxTaps = kEyeFilterHalfWindow * kEyeViewSupersampling;

// One axis of the filter for a drawing `supersampling` times finer than the window (1 up to
// kEyeViewSupersampling), as the drawn pixels a window pixel's centre lies between need it: a
// sinc cut off at one period an acuity angle, under a Blackman window, the whole kernel summing
// to 1. The kernel is symmetric: tap i, at firstOffset + i drawn pixels from the centre, is
// taken on both sides with weights[i] each (a tap on the centre itself carries half its weight
// there); taps past `taps` weigh 0.
struct EyeFilter {
    int supersampling = 1;
    int taps = 0;
    float firstOffset = 0;  // 0 when a drawn pixel lies on the centre, else 0.5
    std::array<float, kEyeFilterMaxTaps> weights{};
};
EyeFilter eyeFilter(int supersampling);

// The same kernel as reads that each take two neighbouring taps at once, where a texture read
// between two drawn pixels mixes them in proportion: between two of the sinc's zero crossings
// both taps have one sign, so a read at their weighted mean offset, weighing their sum, gives
// both. Read i lies offsets[i] drawn pixels either side of the centre; reads past `reads`
// weigh 0.
constexpr int kEyeFilterMaxReads = (kEyeFilterMaxTaps + 1) / 2;
struct EyeFilterReads {
    int reads = 0;
    std::array<float, kEyeFilterMaxReads> offsets{};
    std::array<float, kEyeFilterMaxReads> weights{};
};
EyeFilterReads eyeFilterReads(const EyeFilter& filter);

// How much of a pattern of `periodPixels` window pixels the filter keeps (1 for a flat field).
double eyeFilterResponse(const EyeFilter& filter, double periodPixels);
