// Small clips made for the video tests: through the program's own clip writer, whose frames
// are known, or through the ffmpeg tool for the other containers and codecs.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testclips {

// Frame k of a colour clip is one flat colour, kColours[k % size]: far apart, so each frame is
// told from its neighbours after lossy coding.
inline constexpr std::array<std::array<std::uint8_t, 3>, 6> kColours{
    {{230, 30, 30}, {30, 220, 40}, {40, 50, 230}, {230, 230, 40}, {230, 40, 230}, {40, 220, 220}}};

// Writes frameCount flat-colour frames of width x height at fps; empty on success, else why.
std::string writeColourClip(const std::string& path, int width, int height, double fps,
                            int frameCount);

// The index into kColours nearest to an RGB pixel.
int nearestColour(const std::uint8_t* pixel);

// Runs the ffmpeg tool quietly with these arguments; true when it succeeded.
bool runFfmpeg(const std::vector<std::string>& arguments);

// Resident memory of this process in bytes.
std::uint64_t residentBytes();

}  // namespace testclips
