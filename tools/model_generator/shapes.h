// The frame model's building blocks: boxes, beams between two points and upright cylinders.
// The program draws the model unlit, so each corner's texture coordinate t picks its
// brightness from a band of the metal texture (metal_atlas.h), lit from the upper front.
#pragma once

#include "tools/model_generator/mesh.h"
#include "tools/texture_generator/metal_atlas.h"

namespace modelgen {

// Metres of surface per texture repeat along the brushing.
constexpr float brushRepeat = 6.0f;

// Brightness 0..1 of a surface facing along normal under the scene's fixed light.
float brightnessOf(Vec3 normal);

// A planar quad a, b, c, d (counter-clockwise seen from its front), shaded flat; s runs along
// a to b in metres / brushRepeat, and t varies a little along b to c within the band.
void addQuad(Mesh& mesh, Vec3 a, Vec3 b, Vec3 c, Vec3 d, texgen::MetalBand band);

// Axis-aligned box; lensBottom maps its underside to the lamp glass.
void addBox(Mesh& mesh, Vec3 low, Vec3 high, texgen::MetalBand band, bool lensBottom = false);

// A square beam of the given thickness from a to b, its faces turned to face up as far as
// the direction allows.
void addBeam(Mesh& mesh, Vec3 a, Vec3 b, float thickness, texgen::MetalBand band);

// An upright cylinder with smooth sides (smoothing group 1) and flat triangle-fan caps.
void addCylinder(Mesh& mesh, Vec3 base, float radius, float height, int segments,
                 texgen::MetalBand band);

}  // namespace modelgen
