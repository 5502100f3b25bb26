// The low-pass filter of the eye view: what a viewer's eyes do not resolve taken out of the
// picture drawn at kEyeViewPixelsPerAcuity pixels an acuity angle. A pattern whose period is
// the acuity angle is the limit; the filter keeps nearly all of a pattern 1.25 times coarser
// and nearly none of one 0.8 times as fine, leaving its mean light.
#pragma once

#include <array>

// Taps either side of the centre: the window's length sets how sharply the filter falls from
// passing to stopping between those two periods.
constexpr int kEyeFilterRadius = 16;

// The weights of one axis of the filter, centre first (the kernel is symmetric): a sinc cut off
// at one period an acuity angle, under a Blackman window, the whole kernel summing to 1.
std::array<float, kEyeFilterRadius + 1> eyeFilterWeights();

// How much of a pattern of `periodPixels` the filter keeps (1 for a flat field).
double eyeFilterResponse(double periodPixels);
