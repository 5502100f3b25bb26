// Filling the picture catalogue from BMP files: one texture per slot, with a full mipmap chain.
#pragma once

#include "app/core/picture_catalogue.h"

// Fills catalogue.textureIds[slot] from the BMP at path (backslashes allowed) and, with
// recordSize, records the picture's size in catalogue.pictures[slot]. A missing file returns
// false quietly; a file the loader cannot decode is reported by the loader. Either way the
// slot keeps name 0 and its size stays 0 by 0. Leaves 2D texturing enabled.
bool loadTexture(PictureCatalogue& catalogue, int slot, const char* path, bool recordSize);

// In real units, a built-in billboard picture is fitted to the wall when first shown: fits
// `picture` (with the lit neon sign for the sign) when it still waits, and does nothing, no GL
// call, otherwise. The display and the light line call it for the picture chosen.
void fitChosenWallPicture(PictureCatalogue& catalogue, int picture);

// Loads every slot with a file in kTextureLoadOrder, the billboard pictures from `pictures`,
// copies the unlit neon sign's name into its second slot and works out the cell steps.
void loadCatalogue(PictureCatalogue& catalogue, const PictureFiles& pictures);
