// Size of the billboard face in the normal view, from the picture's proportions. Kept free
// of GL so it can be checked directly.
#pragma once

#include "app/core/picture_catalogue.h"

// The face is 40 wide and centred at height 15.
constexpr float kFaceHalfWidth = 20.0f;
constexpr float kNormalFaceCentreHeight = 15.0f;

// Whole-number proportion factor width / height. A picture narrower than high, or one with
// no recorded size (a failed load), has no sound factor of its own; it gets 1, the factor of
// every picture less than twice as wide as high, so its face is a 40 by 40 square.
float proportionFactor(const PictureInfo& picture);

// Half the face's height in the normal view: (1 / factor) x 20.
float normalFaceHalfHeight(const PictureInfo& picture);
