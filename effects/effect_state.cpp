#include "effects/effect_state.h"

EffectParameters effectParameters;
GLuint textureIds[kTextureSlotCount] = {};
PictureInfo pictures[kPictureCount] = {};
