// planarFrameLayout: where each plane of a frame kept as planes and each of its mipmap levels
// lies in the frame's one buffer.
#include "frames/planar_frame.h"

#include "bmp/pixel_buffer.h"
#include "frames/mipmap_chain.h"

namespace {

// Each plane and chain starts on a cache line, as the frame's pixel buffer does, for the
// vector loops.
std::size_t roundUpToLine(std::size_t bytes) {
    return (bytes + kPixelBufferAlignment - 1) / kPixelBufferAlignment * kPixelBufferAlignment;
}

}  // namespace

PlanarFrameLayout planarFrameLayout(int width, int height) {
    PlanarFrameLayout layout;
    layout.width = {width, (width + 1) / 2, (width + 1) / 2};
    layout.height = {height, (height + 1) / 2, (height + 1) / 2};
    std::size_t at = 0;
    for (int plane = 0; plane < kPlaneCount; ++plane) {
        layout.offset[plane] = at;
        at = roundUpToLine(at + std::size_t(layout.width[plane]) * layout.height[plane]);
    }
    for (int plane = 0; plane < kPlaneCount; ++plane) {
        layout.mipmaps[plane] = at;
        at = roundUpToLine(at + mipmapChainBytes(layout.width[plane], layout.height[plane], 1));
    }
    layout.bytes = at;
    return layout;
}
