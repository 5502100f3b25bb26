// The gamma table and the row conversion through it. Samples arrive as 16 bits whatever the
// file's depth (8-bit ones scaled exactly), so 16-bit files keep their dark levels apart
// before a steep curve spreads them.
#include "pictures/png_gamma.h"

#include <cmath>

double pngDisplayExponent(double fileGamma) {
    return fileGamma > 0 ? 1 / (fileGamma * kDisplayGamma) : 1;
}

bool showsAsStored(double exponent) {
    // Around 1/2.2, where gamma 45455 lands, the largest change is below a tenth of a level.
    return std::abs(exponent - 1) < 1e-3;
}

std::vector<std::uint8_t> gammaLevels(double exponent) {
    std::vector<std::uint8_t> levels(65536);
    for (std::size_t sample = 0; sample < levels.size(); ++sample) {
        const double light = std::pow(static_cast<double>(sample) / 65535, exponent);
        levels[sample] = static_cast<std::uint8_t>(std::lround(light * 255));
    }
    return levels;
}

void gammaRowOverBlack(const std::uint16_t* rgba, const std::vector<std::uint8_t>& levels,
                       std::uint8_t* rgb, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, rgba += 4, rgb += 3) {
        const std::uint32_t alpha = rgba[3];
        for (int c = 0; c < 3; ++c) {
            rgb[c] = static_cast<std::uint8_t>((levels[rgba[c]] * alpha + 32767) / 65535);
        }
    }
}
