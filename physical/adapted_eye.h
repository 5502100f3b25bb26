// How an adapted eye sees luminance: the luminance it adapts to, looking at the wall in its
// surroundings, and the tone curve that turns luminance relative to that adaptation into a
// display's linear light, the global operator of Reinhard, Stark, Shirley and Ferwerda's
// "Photographic Tone Reproduction for Digital Images" (SIGGRAPH 2002).
#pragma once

// The surroundings of a wall lit by `ambientLux`, as the eye averages them: a mid-grey (18%)
// diffuse surface in that light, 0.18 E / pi nits.
constexpr double kSurroundReflectance = 0.18;  // the photographer's mid-grey card
double surroundLuminanceNits(double ambientLux);

// The luminance an eye looking at the wall adapts to: the log-average of the surroundings and
// the wall's own luminance (content and reflected light), each weighing half, as the operator's
// log-average over the view does when the wall fills the middle of it.
double adaptationLuminanceNits(double ambientLux, double wallNits);

// The operator's key: the share of display white a surface at the adaptation luminance gets
// before the curve, 0.18 for a scene of average brightness.
constexpr double kToneKey = 0.18;

// Display linear light (0 to 1) of `luminanceNits` seen by an eye adapted to `adaptationNits`:
// Ld = Ls / (1 + Ls), Ls = key L / La. Luminance far above the adaptation approaches white.
double displayLightFromLuminance(double luminanceNits, double adaptationNits);
