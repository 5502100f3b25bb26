// The views of the wall in real units: the face at its real size in metres, alone or in the
// day or night scene with the frame model fitted to it, seen from the camera with a near and
// far plane that suit viewers from a few centimetres to a couple of kilometres away.
#pragma once

#include "effects/effect_state.h"

// Draws the view `state` chooses, in place of the three views of the program's own units; the
// modelview matrix holds the camera's look, as display() left it.
void drawRealUnitsView(const EffectParameters& state);
