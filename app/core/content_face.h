// The face of the user's own content (pictures, videos, feeds) in the program's own units: in
// the normal view a face of the content's shape, in the scenes' 40 by 20 board the content
// fitted as --fit says. The built-in pictures keep face_geometry's whole-number rule.
#pragma once

#include "app/core/picture_catalogue.h"
#include "pictures/wall_fit.h"

// A textured rectangle: its corners in the scene and the part of the picture it shows.
struct FaceRect {
    float left = 0, bottom = 0, right = 0, top = 0;
    float sLeft = 0, tBottom = 0, sRight = 1, tTop = 1;
};

// The normal view: the content's shape inside the 40 by 40 square the normal view has, centred
// at height 15 (a wide picture 40 wide, an upright one 40 high). A picture with no size gets
// the square.
FaceRect normalContentFace(const PictureInfo& picture);

// The scenes' board from height 10 to 30: contained (unlit board around it), covering it (cut
// at the edges) or stretched across it.
FaceRect sceneContentFace(const PictureInfo& picture, WallFit fit);
