// A contact sheet: pictures laid out in a grid, each shrunk to a tile by the area filter and
// labelled underneath with the bitmap font, for reviewing many screenshots at a glance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SheetPicture {
    std::string label;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3, bottom row first
};

struct ContactSheet {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // bottom row first
};

// Pictures in rows of `columns` tiles, each picture fitted into tileSide by tileSide (never
// enlarged) and centred in its tile, labels cut to the tile's width.
ContactSheet buildContactSheet(const std::vector<SheetPicture>& pictures, int columns,
                               int tileSide);
