// How much of a cell's light the LED effects give, worked out as their shaders draw the LED:
// the light a wall of white LEDs gives is its peak, so a face pixel drawn at full level gives
// the peak divided by this share.
#pragma once

#include <array>

// The share of a cell's light a round LED at full level gives (0 to 1): its disc, softened
// edge and halo of led_profile.glsl, mixed in light as led_face.glsl mixes them.
double ledCellLightShare(float pixelRadius, float tolerance);

// The level the LED effects draw a face of unlit LEDs in, head-on (led_wall.glsl's kFaceBlack):
// light the face reflects, not light of the wall's own.
constexpr std::array<double, 3> kLedFaceBlackLevel = {0.030, 0.030, 0.034};
