// Bands of rows: how rows are split at every remainder, that threads taking bands in turn
// convert every row once, and that a picture large enough for threads gives its pixels.
#include "bmp/row_bands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "tests/bmp/bmp_fixtures.h"

using namespace fixtures;

TEST(RowBandsTest, BandsFollowEachOtherAndDifferByAtMostOneRow) {
    for (std::int32_t rows = 1; rows <= 40; ++rows) {
        for (unsigned parts = 1; parts <= static_cast<unsigned>(rows); ++parts) {
            std::int32_t next = 0;
            for (unsigned part = 0; part < parts; ++part) {
                const RowBand band = rowBand(rows, parts, part);
                ASSERT_EQ(band.first, next) << rows << " rows, band " << part << " of " << parts;
                const std::int32_t size = band.end - band.first;
                // The first rows % parts bands carry the extra rows.
                const bool larger = part < static_cast<unsigned>(rows) % parts;
                EXPECT_EQ(size, rows / static_cast<std::int32_t>(parts) + (larger ? 1 : 0))
                    << rows << " rows, band " << part << " of " << parts;
                next = band.end;
            }
            EXPECT_EQ(next, rows) << rows << " rows in " << parts << " bands";
        }
    }
}

TEST(RowBandsTest, EveryRowIsWorkedOnOnceWhateverTheThreadCount) {
    for (std::int32_t rows : {1, 2, 31, 1000}) {
        for (unsigned threads : {1u, 2u, 3u, 8u}) {
            std::vector<std::atomic<int>> visits(static_cast<std::size_t>(rows));
            runInRowBands(rows, threads, [&](RowBand band) {
                for (std::int32_t row = band.first; row < band.end; ++row) ++visits[row];
            });
            for (std::int32_t row = 0; row < rows; ++row) {
                ASSERT_EQ(visits[row].load(), 1)
                    << "row " << row << " of " << rows << ", " << threads << " threads";
            }
        }
    }
}

TEST(RowBandsTest, PictureLargeEnoughForThreadsGivesItsPixels) {
    // 1201 x 1201 pixels, 4.3 MB of output, stored top row first.
    const IndexedPicture picture = patternIndexed(1201, 1201, 256);
    EXPECT_EQ(rowThreadCount(std::size_t{3} * 1201 * 1201, 1201),
              std::clamp(std::thread::hardware_concurrency(), 1u, kMaxRowThreads));
    auto file = encodeBmpIndexed(picture, 8);
    const std::size_t stride = 1204, pixelStart = u32At(file, kPixelOffsetField);
    std::vector<std::uint8_t> rows(file.begin() + static_cast<std::ptrdiff_t>(pixelStart),
                                   file.end());
    for (std::size_t row = 0; row < 1201; ++row) {
        std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(row * stride), stride,
                    file.begin() + static_cast<std::ptrdiff_t>(pixelStart + (1200 - row) * stride));
    }
    setU32(file, kHeightField, static_cast<std::uint32_t>(-1201));
    const Decoded decoded = decode(file);
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.height, 1201);
    EXPECT_EQ(decoded.pixels, expectedRgb(picture));
}
