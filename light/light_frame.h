// The frame as an adapted eye sees it outdoors: the scene is drawn as always, but into an
// offscreen frame, which is then turned into light (the face from the wall's luminance, the
// rest as surfaces lit by the ambient light and by the wall's spill), given the eye's glare
// and shown through the tone curve. Two calls bracket the drawing of a frame. Only the last
// pass works at full size; the spill and the glare are worked out at a quarter of it and less.
#pragma once

#include <GL/glew.h>

#include <limits>

#include "light/content_light.h"

// What the light passes know of the wall and its light, for one frame. Luminances in nits.
struct LightFrame {
    // The face in the scene's coordinates: one corner and its two edges, lying in the plane
    // the face is drawn in, right x up pointing to its front.
    float wallCorner[3] = {-20, 10, 0};
    float wallRight[3] = {40, 0, 0};
    float wallUp[3] = {0, 20, 0};
    // The luminance of the content over each spill patch (its patch light times the wall's
    // peak): the patches light what faces the wall.
    PatchLight patchNits{};
    double faceNitsAtFullLevel = 0;  // a face pixel drawn at full level, LEDs and gaps alike
    // The light (0 to 1) of a face pixel drawn with no LED lit: the face's own surface, which
    // only reflects (reflectedNits), so it and what lies below it give none of the wall's light.
    double faceBlackLight = 0;
    double reflectedNits = 0;   // the ambient light the face reflects
    double ambientLux = 0;      // on the surfaces around the wall
    double adaptationNits = 1;  // the luminance the eye is adapted to
    // The luminance shown as the display's white (whiteLuminanceNits); infinite for none.
    double whiteNits = std::numeric_limits<double>::infinity();
};

// Sends the drawing that follows into an offscreen frame of width by height (the window's
// size); the caller clears and draws it as it would the framebuffer bound now.
void beginLightFrame(int width, int height);

// Turns the offscreen frame into the window's back buffer, by the modelview and projection
// matrices in force (those the scene was drawn with). GL state is left as it was found, with
// the framebuffer bound at beginLightFrame bound again and no program in use.
void finishLightFrame(const LightFrame& frame);
