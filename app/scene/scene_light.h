// The light model in the program's views: in real units the day and night scenes are drawn
// from luminance through the light passes, with the wall's brightness and the ambient light of
// that scene, and the light line gives the figures of the view shown.
#pragma once

#include <string>

#include "effects/effect_state.h"
#include "physical/light_line.h"

// The light settings of the command line, set once before the scene loads.

// Night for the night scene, day for the normal view and the day scene.
LightView shownLightView(const EffectParameters& state);

// "light day: ..." for `view`, from the content on the wall's LEDs now; GL context current.
std::string shownLightLine(const EffectParameters& state, LightView view);

// The start-up light line, after the viewer line: printed now, or, for a video whose first
// frame has not been decoded yet, by printPendingLightLine once that frame is on the wall, so
// that it gives the first frame's figures. GL context current.
void printStartingLightLine(const EffectParameters& state);
// Called by display() once the content's frame is refreshed: prints a waiting start-up line.
void printPendingLightLine(const EffectParameters& state);

// Around display()'s drawing of `state`'s view: in real units, a scene goes through the light
// passes into the framebuffer bound at the first call (else both do nothing). The second is
// called with the camera's matrices in force.
void beginSceneLight(const EffectParameters& state, int width, int height);
void finishSceneLight(const EffectParameters& state);
