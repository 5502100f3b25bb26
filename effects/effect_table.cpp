// The four effects by number: console names, shader files and the program handles that the
// build fills in. Plain data that calls no GL, so the key table links it without GLEW.
#include "effects/effect_programs.h"
#include "effects/effect_state.h"

const EffectInfo effectInfos[kEffectCount] = {
    {"Billboard I", "./Shaders/billboard1.vert", "./Shaders/billboard1.frag"},
    {"Billboard II", "./Shaders/billboard2.vert", "./Shaders/billboard2.frag"},
    {"Billboard III", "./Shaders/billboard3.vert", "./Shaders/billboard3.frag"},
    {"Billboard IV", "./Shaders/billboard4.vert", "./Shaders/billboard4.frag"},
};

GLhandleARB effectPrograms[kEffectCount] = {};

void chooseEffect(EffectParameters& state, int mode) {
    state.mode = mode;
    state.program = effectPrograms[mode];
}
