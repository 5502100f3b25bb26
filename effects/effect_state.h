// The parameters of the LED effect: which effect runs, on which picture, with which cell size
// and uniform values. The application keeps the live set; the effect binder feeds it to GL.
#pragma once

#include <GL/glew.h>

// The member initializers are the program's starting values, which the reset key restores.
struct EffectParameters {
    int mode = 0;             // 0 to 3: "Billboard I" to "Billboard IV"
    GLhandleARB program = 0;  // always effectPrograms[mode] once the scene is loaded
    int picture = 0;
    int pictureCount = 6;
    int pixelSize = 0;  // set from the first picture's cell step by the scene load
    float pixelRadius = 0.6f;
    float tolerance = 0.3f;
    int luminanceSteps = 12;
    float luminanceBoost = 0.0f;
    float colorBoost = 0.03f;
    float burntOutPercent = 0.2f;
    bool dayScene = false;
    bool nightScene = false;
};

inline constexpr EffectParameters kStartingParameters{};

// Makes effect `mode` (0 to 3) the one drawn: its number and its program handle together.
void chooseEffect(EffectParameters& state, int mode);
