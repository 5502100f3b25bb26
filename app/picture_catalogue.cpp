// The catalogue's fixed data and the cell-step search, free of GL.
#include "app/picture_catalogue.h"

const char* const texturePaths[kTextureSlotCount] = {
    ".\\Textures\\flagcross.bmp",       ".\\Textures\\qelt.bmp",
    ".\\Textures\\marrowby.bmp",        ".\\Textures\\logoGray.bmp",
    ".\\Textures\\tovin.bmp",           ".\\Textures\\neonOff.bmp",
    ".\\Textures\\noise.bmp",           ".\\Textures\\dayGrass.bmp",
    ".\\Textures\\dayBackground.bmp",   ".\\Textures\\nightGrass.bmp",
    ".\\Textures\\nightBackground.bmp", ".\\Textures\\metal.bmp",
    ".\\Textures\\neonOn.bmp",          nullptr,
};

// A loop rather than one call per candidate: a large picture whose sides share no small
// divisor would otherwise nest thousands of calls deep.
int cellStep(int width, int height, int start) {
    for (int d = start + 1;; ++d) {
        if (d >= width || d >= height) return d;
        if (width % d == 0 && height % d == 0) return d;
    }
}
