// The thirteen picture files of the program: their names, sizes, storage and the function
// that draws each one. The generator writes them all; the asset tests check the files against
// this table.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "pictures/bmp_encoder.h"
#include "tools/texture_generator/canvas.h"

namespace texgen {

enum class Storage {
    rgb24,     // 24-bit colour
    gray8,     // 8-bit palette of the 256 grays, index = gray level
    palette4,  // 4-bit, 16 colours of the picture's own palette, ordered dithering
};

// A picture family's drawing, made at the size asked for.
using Drawing = Canvas(int width, int height);

struct PictureFile {
    const char* fileName;  // under Textures/
    int width, height;
    Storage storage;
    DibHeader header;
    Drawing* draw;
    std::span<const std::uint32_t> palette;  // 0xRRGGBB entries, for palette4
    // Size the picture is drawn at before it is shrunk to the file's size; 0 for the file's
    // own size. Lets a picture keep its design proportions in a file with power-of-two sides.
    int designWidth = 0, designHeight = 0;
};

// In the program's slot order: six billboard pictures, noise, day and night ground and
// backdrop, metal, the lit neon sign.
std::span<const PictureFile> pictureFiles();

// The picture as it goes into its file: drawn at its design size, then shrunk to the file's.
Canvas drawPicture(const PictureFile& file);

// The BMP bytes of a drawn picture, in the file's storage and header.
std::vector<std::uint8_t> encodePicture(const PictureFile& file, const Canvas& canvas);

// The drawings, one per picture family.
Drawing drawFlagCross, drawTestCard, drawBanner, drawGrayLogo, drawPosterSunset, drawNeonUnlit,
    drawNeonLit, drawNoise, drawDayGrass, drawDayBackdrop, drawNightGrass, drawNightBackdrop,
    drawMetal;

extern const std::uint32_t posterPalette[16];

}  // namespace texgen
