// The normal view's face from the picture's proportions: the factor that sizes it and the half
// height that follows from it.
#include "app/core/face_geometry.h"

float proportionFactor(const PictureInfo& picture) {
    if (picture.height <= 0 || picture.width < picture.height) return 1.0f;
    return float(picture.width / picture.height);
}

float normalFaceHalfHeight(const PictureInfo& picture) {
    return (1.0f / proportionFactor(picture)) * kFaceHalfWidth;
}
