// Loading a picture file of any supported format from disk, with the reason for any failure
// in words the user is shown ("file not found", "truncated PNG file", ...).
#pragma once

#include "pictures/picture.h"

// The file is mapped, not copied, and decoded in place.
LoadOutcome loadPicture(const char* path, Picture& picture, const PictureLimits& limits = {});
