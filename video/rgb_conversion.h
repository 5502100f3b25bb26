// The scale step: decoded frames of any pixel format and size into tightly packed RGB or RGBA
// rows, bottom row first, at the size drawn.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

struct AVFrame;
struct AVPixFmtDescriptor;
struct SwsContext;

// Told of output rows as they are finished: `rowCount` rows from `firstRow` (bottom-first
// indices). Rows come from the top of the picture down.
using ConvertedRows = std::function<void(int firstRow, int rowCount)>;

class RgbConversion {
  public:
    RgbConversion() = default;
    ~RgbConversion();
    RgbConversion(const RgbConversion&) = delete;
    RgbConversion& operator=(const RgbConversion&) = delete;

    // Converts frame into rgb of width x height at `channels` bytes a pixel (3 or 4); false
    // when the frame's format cannot be converted or memory runs out. The converter is rebuilt
    // only when a size or format changes.
    bool convert(const AVFrame& frame, std::uint8_t* rgb, int width, int height, int channels,
                 const ConvertedRows& rowsDone = {});

  private:
    void applyColourDetails(const AVFrame& frame, const AVPixFmtDescriptor* descriptor,
                            bool rebuilt);

    SwsContext* context_ = nullptr;
    std::array<int, 5> contextShape_{};  // the sizes and formats the converter was made for
    // The colour matrix and range last given to the converter.
    int detailsMatrix_ = -1, detailsRange_ = -1;
    // Rows of room for the converter when tight rows cannot take its writes (see convert).
    std::vector<std::uint8_t> paddedRows_;
};
