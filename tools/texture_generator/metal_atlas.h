// Layout of metal.bmp, shared by the texture generator and the frame model generator. The
// program draws the frame without lighting, so the model picks its shading from the texture:
// each band is brushed metal whose brightness rises with t, and a face's t within its band
// is its brightness. The brushing runs along s and tiles, so s may run past 1.
#pragma once

namespace texgen {

struct MetalBand {
    float low, high;  // t range of the band (t = 0 is the bottom row)
};

constexpr MetalBand steelBand{0.0f, 0.5f};      // bare brushed steel: frame, walkway, lamps
constexpr MetalBand paintedBand{0.5f, 0.875f};  // blue-gray painted steel: posts and braces
constexpr MetalBand lensBand{0.875f, 1.0f};     // warm lamp glass

// Kept clear of a band's edges so the smaller mipmap levels do not mix in the next band.
constexpr float bandMargin = 0.035f;

// The t that gives brightness (0 dark .. 1 bright) in a band.
constexpr float bandT(MetalBand band, float brightness) {
    float b = brightness < 0 ? 0 : (brightness > 1 ? 1 : brightness);
    return band.low + bandMargin + b * (band.high - band.low - 2 * bandMargin);
}

}  // namespace texgen
