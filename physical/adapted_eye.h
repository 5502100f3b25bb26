// How an adapted eye sees luminance: the luminance it adapts to, looking at the wall in its
// surroundings, and the tone curve that turns luminance relative to that adaptation into a
// display's linear light, the global operator of Reinhard, Stark, Shirley and Ferwerda's
// "Photographic Tone Reproduction for Digital Images" (SIGGRAPH 2002).
#pragma once

#include <limits>

// The surroundings of a wall lit by `ambientLux`, as the eye averages them: a mid-grey (18%)
// diffuse surface in that light, 0.18 E / pi nits.
constexpr double kSurroundReflectance = 0.18;  // the photographer's mid-grey card
double surroundLuminanceNits(double ambientLux);

// The luminance an eye looking at the wall adapts to: the log-average of the surroundings and
// the wall's own luminance (content and reflected light), each weighing half, as the operator's
// log-average over the view does when the wall fills the middle of it.
double adaptationLuminanceNits(double ambientLux, double wallNits);

// The operator's key: the share of display white a surface at the adaptation luminance gets
// before the curve. The paper's 0.18 suits a view of average brightness; a fixed key would show
// a dark street as bright as a lit one, so for dim views (below about 1.25 nits) the key falls
// as Krawczyk, Myszkowski and Seidel estimate it ("Lightness Perception in Tone Reproduction
// for High Dynamic Range Images", Eurographics 2005): 1.03 - 2 / (2 + log10(La + 1)).
constexpr double kToneKey = 0.18;
double toneKey(double adaptationNits);

// The key over the adaptation luminance: what one nit becomes before the curve.
double exposurePerNit(double adaptationNits);

// The luminance the display's white stands for: the brightest white in view, a white diffuse
// surface in the ambient light (E / pi) or the wall's peak white, whichever is brighter. Below
// it every luminance keeps a tone of its own.
double whiteLuminanceNits(double ambientLux, double wallPeakNits);

// Display linear light (0 to 1) of `luminanceNits` seen by an eye adapted to `adaptationNits`,
// by the operator's form with a white point: Ld = Ls (1 + Ls / Lw²) / (1 + Ls), Ls = key L / La
// and Lw the same of `whiteNits`, so the white gives 1 and anything brighter burns out. Without
// a white point it is Ls / (1 + Ls), approaching white only far above the adaptation.
double displayLightFromLuminance(double luminanceNits, double adaptationNits,
                                 double whiteNits = std::numeric_limits<double>::infinity());
