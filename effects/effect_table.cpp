// The four effects by number: console names, shader files and the program handles that the
// build fills in. Plain data, apart from the GL calls that build the programs, so the key
// table links it without GLEW.
#include "effects/effect_programs.h"

const EffectInfo effectInfos[kEffectCount] = {
    {"Billboard I", "./Shaders/billboard1.vert", "./Shaders/billboard1.frag"},
    {"Billboard II", "./Shaders/billboard2.vert", "./Shaders/billboard2.frag"},
    {"Billboard III", "./Shaders/billboard3.vert", "./Shaders/billboard3.frag"},
    {"Billboard IV", "./Shaders/billboard4.vert", "./Shaders/billboard4.frag"},
};

GLhandleARB effectPrograms[kEffectCount] = {};
