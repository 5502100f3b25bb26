// The scene load that runs once at start-up: camera placement, the frame model, the picture
// catalogue, the cell steps and the first effect with its console lines.
#pragma once

#include <vector>

#include "app/core/picture_catalogue.h"
#include "app/playback/content_files.h"

// Fills pictureCatalogue with `pictures` as the billboard pictures, or, when `contents`
// holds any, with those instead (their pixels are handed to GL and released). False, after
// the reason on standard error, when a live feed's wall is larger than GL's textures.
bool loadScene(const PictureFiles& pictures = kBuiltInPictureFiles,
               std::vector<Content>* contents = nullptr);
