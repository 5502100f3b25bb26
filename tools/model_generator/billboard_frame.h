// The roadside billboard's frame model, around the 40 by 20 face that the program draws
// itself (x -20..20, y 10..30, in the plane z = 0, facing +z).
#pragma once

#include "tools/model_generator/mesh.h"

namespace modelgen {

// Extent of the face the frame holds; no part of the frame may cover it from the front.
constexpr float faceLeft = -20, faceRight = 20, faceBottom = 10, faceTop = 30;

Mesh buildBillboardFrame();

}  // namespace modelgen
