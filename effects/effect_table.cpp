// The four effects by number: console names and the program handles that the
// build fills in. Plain data that calls no GL, so the key table links it without GLEW.
#include "effects/effect_programs.h"
#include "effects/effect_state.h"

const EffectInfo effectInfos[kEffectCount] = {
    {"Billboard I"},
    {"Billboard II"},
    {"Billboard III"},
    {"Billboard IV"},
};

GLhandleARB effectPrograms[kEffectCount] = {};

void chooseEffect(EffectParameters& state, int mode) {
    state.mode = mode;
    state.program = effectPrograms[mode];
}
