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

// Bytes that levels 1 and down take, one after another, at `channels` bytes a texel (3: RGB,
// 4: RGBA).
std::size_t mipmapChainBytes(int width, int height, int channels = 3);

// Writes levels 1 and down of the rows `pixels` (width by height, `channels` bytes a texel)
// into `chain` (mipmapChainBytes of room), each the rounded mean of the 2 x 2 texels above it;
// an odd last row or column of a level is left out of the next one, as GL's sizes drop it.
void buildMipmapChain(const std::uint8_t* pixels, int width, int height, std::uint8_t* chain,
                      int channels = 3);

// The same chain worked out while level 0 is being written: level 1's rows as soon as the
// rows under them are done, while those are still in the processor's cache, the levels
// below at the end.
class MipmapChainWriter {
  public:
    MipmapChainWriter(const std::uint8_t* pixels, int width, int height, std::uint8_t* chain,
                      int channels);
    // Rows firstRow to firstRow + rowCount - 1 of level 0 are final. Bands come from the top
    // of the picture down (the highest rows first), each ending where the one before began;
    // a band at the top starts over (a frame that failed part way, written again).
    void rowsDone(int firstRow, int rowCount);
    // Level 0 is complete: the rest of the chain.
    void finish();

  private:
    int topRow() const;

    const std::uint8_t* pixels_;
    std::uint8_t* chain_;
    int width_, height_, channels_;
    int nextRow_;  // the highest row of level 1 still to work out; -1 when none is left
};
