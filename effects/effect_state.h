// The live state of the LED effect and the picture catalogue it draws from. The keyboard and
// the scene load change it; the effect binder and the display callback read it every frame.
#pragma once

#include <GL/glew.h>

struct EffectParameters {
    int mode = 0;             // 0 to 3: "Billboard I" to "Billboard IV"
    GLhandleARB program = 0;  // always effectPrograms[mode] once the scene is loaded
    int picture = 0;
    int pictureCount = 6;
    int pixelSize = 0;
    float pixelRadius = 0.6f;
    float tolerance = 0.3f;
    int luminanceSteps = 12;
    float luminanceBoost = 0.0f;
    float colorBoost = 0.03f;
    float burntOutPercent = 0.2f;
    bool dayScene = false;
    bool nightScene = false;
};

struct PictureInfo {
    int step = 0;
    int width = 0;
    int height = 0;
};

constexpr int kTextureSlotCount = 14;
constexpr int kPictureCount = 6;
constexpr int kNoiseSlot = 6;

extern EffectParameters effectParameters;
extern GLuint textureIds[kTextureSlotCount];
extern PictureInfo pictures[kPictureCount];
