// The colours a frame's stream names (matrix, range), read defensively from damaged streams,
// and the matrix and offset that turn its samples into RGB.
#include "video/colour_details.h"

#include <cstring>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

namespace {

// Red and blue's shares of luma by matrix, as libswscale reads them: matrices it has no
// table for convert as standard definition does.
struct LumaShares {
    double red, blue;
};
LumaShares lumaSharesOf(int matrix) {
    switch (matrix) {
        case AVCOL_SPC_BT709:
            return {0.2126, 0.0722};
        case AVCOL_SPC_FCC:
            return {0.30, 0.11};
        case AVCOL_SPC_SMPTE240M:
            return {0.212, 0.087};
        case AVCOL_SPC_BT2020_NCL:
        case AVCOL_SPC_BT2020_CL:
            return {0.2627, 0.0593};
        default:
            return {0.299, 0.114};
    }
}

}  // namespace

ColourDetails colourDetailsOf(const AVFrame& frame) {
    // Damaged streams put any number in these fields: they are read as the integers they are,
    // never as their enumerations.
    int matrix = 0, range = 0, format = 0;
    static_assert(sizeof frame.colorspace == sizeof matrix &&
                  sizeof frame.color_range == sizeof range);
    std::memcpy(&matrix, &frame.colorspace, sizeof matrix);
    std::memcpy(&range, &frame.color_range, sizeof range);
    format = frame.format;
    if (matrix <= AVCOL_SPC_RGB || matrix == AVCOL_SPC_UNSPECIFIED || matrix >= AVCOL_SPC_NB)
        matrix = frame.height >= 720 || frame.width >= 1280 ? AVCOL_SPC_BT709 : AVCOL_SPC_SMPTE170M;
    const bool jpegFormat = format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P ||
                            format == AV_PIX_FMT_YUVJ444P || format == AV_PIX_FMT_YUVJ440P ||
                            format == AV_PIX_FMT_YUVJ411P;
    return {matrix, range == AVCOL_RANGE_JPEG || jpegFormat};
}

// Samples as read (s / 255) to the standard's luma in 0..1 and chroma in -0.5..0.5, then
// its matrix to RGB.
YuvColours yuvColoursOf(const ColourDetails& details) {
    const LumaShares k = lumaSharesOf(details.matrix);
    const double green = 1 - k.red - k.blue;
    const double toRgb[3][3] = {
        {1, 0, 2 * (1 - k.red)},
        {1, -2 * k.blue * (1 - k.blue) / green, -2 * k.red * (1 - k.red) / green},
        {1, 2 * (1 - k.blue), 0},
    };
    const double lumaScale = details.fullRange ? 1 : 255.0 / 219;
    const double chromaScale = details.fullRange ? 1 : 255.0 / 224;
    const double lumaFrom = details.fullRange ? 0 : 16.0 / 255;
    const double scale[3] = {lumaScale, chromaScale, chromaScale};
    const double from[3] = {lumaFrom, 128.0 / 255, 128.0 / 255};
    YuvColours colours;
    for (int row = 0; row < 3; ++row) {
        double offset = 0;
        for (int column = 0; column < 3; ++column) {
            colours.matrix[3 * column + row] = float(toRgb[row][column] * scale[column]);
            offset -= toRgb[row][column] * scale[column] * from[column];
        }
        colours.offset[row] = float(offset);
    }
    return colours;
}
