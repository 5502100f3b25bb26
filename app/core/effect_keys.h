// The key table of the effect state: what each keyboard key changes and the console lines it
// prints. Free of GL and GLUT, so the whole table runs without a window; the GLUT keyboard
// callback only adds the redraw request.
#pragma once

#include "app/core/picture_catalogue.h"
#include "camera/camera.h"
#include "effects/effect_state.h"

// The live effect state, one instance for the whole run.

// Distance of one walking key press, in world units.
constexpr float cameraStep = 0.5f;

// Applies one key to the effect state and the camera and prints the key's console lines.
// Takes the picture sizes and cell steps from `catalogue` and the program handles from
// `effectPrograms`. Keys outside the table change nothing.
void applyKey(unsigned char key, EffectParameters& state, const PictureCatalogue& catalogue,
              Camera& viewer);

// The effect state of a freshly started program showing `picture`: the starting values, the
// first effect, every billboard picture in turn and the picture's starting cell size. The
// scene load, the reset key and the review all start from it.
EffectParameters startingParameters(const PictureCatalogue& catalogue, int picture);

// Prints the effect printout of state.mode: the effect's name, then the parameters it uses,
// the last followed by an empty line.
void printEffect(const EffectParameters& state);
