// The contact sheet: tiles in their grid cells, shrunk and centred, with a label beneath.
#include "pictures/contact_sheet.h"

#include <gtest/gtest.h>

namespace {

SheetPicture solid(const std::string& label, int width, int height, std::uint8_t r, std::uint8_t g,
                   std::uint8_t b) {
    SheetPicture picture{label, width, height, {}};
    for (int i = 0; i < width * height; ++i) picture.rgb.insert(picture.rgb.end(), {r, g, b});
    return picture;
}

// The sheet pixel at (x, y) counted from the top left.
std::vector<int> pixelAt(const ContactSheet& sheet, int x, int y) {
    const std::size_t at = (std::size_t(sheet.height - 1 - y) * sheet.width + x) * 3;
    return {sheet.rgb[at], sheet.rgb[at + 1], sheet.rgb[at + 2]};
}

}  // namespace

TEST(ContactSheetTest, PicturesAreFittedIntoLabelledTilesInRows) {
    // Two tiles a row, 40 pixels a side; a third picture starts the second row.
    const ContactSheet sheet =
        buildContactSheet({solid("RED", 20, 20, 255, 0, 0), solid("BLUE\nWIDE", 80, 40, 0, 0, 255),
                           solid("GREEN", 10, 10, 0, 255, 0)},
                          2, 40);
    const int margin = 12, labelHeight = 2 * (7 + 3) * 2 + 4;
    const int cellWidth = 40 + margin, cellHeight = 40 + labelHeight + margin;
    ASSERT_EQ(sheet.width, margin + 2 * cellWidth);
    ASSERT_EQ(sheet.height, margin + 2 * cellHeight);

    // The small red picture keeps its size, centred in the first tile.
    EXPECT_EQ(pixelAt(sheet, margin + 10, margin + 10), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixelAt(sheet, margin + 29, margin + 29), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixelAt(sheet, margin + 9, margin + 9), (std::vector<int>{32, 32, 32}));
    // The wide blue one is shrunk to 40 x 20 and centred vertically in the second.
    const int blueLeft = margin + cellWidth;
    EXPECT_EQ(pixelAt(sheet, blueLeft, margin + 10), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(pixelAt(sheet, blueLeft + 39, margin + 29), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(pixelAt(sheet, blueLeft, margin + 9), (std::vector<int>{32, 32, 32}));
    // The green one sits in the second row.
    EXPECT_EQ(pixelAt(sheet, margin + 20, margin + cellHeight + 20), (std::vector<int>{0, 255, 0}));

    // The first label's "R": its top row is lit across the first four font pixels.
    const int labelTop = margin + 40 + 4;
    EXPECT_EQ(pixelAt(sheet, margin, labelTop), (std::vector<int>{230, 230, 230}));
    EXPECT_EQ(pixelAt(sheet, margin + 4 * 2 + 1, labelTop), (std::vector<int>{32, 32, 32}));
    // The second label's second line, "WIDE": W's top left font pixel is lit.
    EXPECT_EQ(pixelAt(sheet, margin + cellWidth, labelTop + 20), (std::vector<int>{230, 230, 230}));
}
