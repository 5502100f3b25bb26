// The mipmap levels below a frame, worked out on the CPU by the thread that made the frame, so
// that the display only copies them into the texture: GL's own glGenerateMipmap runs on the
// display's thread and, in a software driver, costs several times a video frame's decoding.
#pragma once

#include <cstddef>
#include <cstdint>

// The side of mipmap level `level` of a side `side`, as GL sizes it: halved and rounded down
// at every level, never below 1.
int mipmapSide(int side, int level);

// How many levels there are below level 0, down to 1 x 1.
int mipmapLevelCount(int width, int height);

// Bytes of RGB that levels 1 and down take, one after another.
std::size_t mipmapChainBytes(int width, int height);

// Writes levels 1 and down of the RGB rows `pixels` (width by height) into `chain`
// (mipmapChainBytes of room), each the mean of the 2 x 2 texels above it; an odd last row or
// column of a level is left out of the next one, as GL's sizes drop it.
void buildMipmapChain(const std::uint8_t* pixels, int width, int height, std::uint8_t* chain);
