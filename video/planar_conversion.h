// Decoded frames into planar frames (frames/planar_frame.h) at the size drawn. Frames that are
// 8-bit 4:2:0 at that size, as nearly every video's are, are copied plane by plane; any other
// (a size or format that changes inside a stream, a video larger than a texture) goes through
// libswscale into that layout first. Each plane's mipmap levels are worked out as its rows are
// copied, band by band while they are still in the processor's cache.
#pragma once

#include <array>
#include <cstdint>

#include "frames/planar_frame.h"
#include "video/colour_details.h"

struct AVFrame;
struct SwsContext;

class PlanarConversion {
  public:
    PlanarConversion() = default;
    ~PlanarConversion();
    PlanarConversion(const PlanarConversion&) = delete;
    PlanarConversion& operator=(const PlanarConversion&) = delete;

    // Whether frames of this pixel format are planes to begin with: YUV with chroma at half the
    // width and height, of any depth. Other videos keep the detail of RGB frames.
    static bool suits(int format);

    // Writes frame into `out` (planarFrameLayout(width, height).bytes) with its colours; false
    // when the frame cannot be converted or memory runs out.
    bool convert(const AVFrame& frame, std::uint8_t* out, int width, int height,
                 YuvColours& colours);

  private:
    const AVFrame* scaled(const AVFrame& frame, int width, int height, ColourDetails& details);
    const YuvColours& coloursOf(const ColourDetails& details);

    SwsContext* context_ = nullptr;
    std::array<int, 5> contextShape_{};          // the sizes and formats the converter was made for
    ColourDetails askedDetails_, givenDetails_;  // asked of the converter last, and given
    AVFrame* scaled_ = nullptr;
    // The colours of the details seen last: streams keep theirs, so they are worked out once.
    ColourDetails coloursDetails_{-1, false};
    YuvColours colours_;
};
