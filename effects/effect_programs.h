// The four LED effects: their console names, their shader files and the GL programs built
// from them once at start-up.
#pragma once

#include <GL/glew.h>

constexpr int kEffectCount = 4;

// The shader files of effect e are kShaderFiles[2 * e] and [2 * e + 1] (effects/shader_files.h).
struct EffectInfo {
    const char* name;  // console name, e.g. "Billboard I"
};

extern const EffectInfo effectInfos[kEffectCount];

// Program handles by effect number; 0 until buildEffectPrograms() has run.
extern GLhandleARB effectPrograms[kEffectCount];

// True when the driver gives every shader-object entry point the build needs.
bool hasShaderObjectEntryPoints();

// Builds the four programs in effect order. Compile and link results are not queried: a
// broken shader shows in how its effect draws. A missing file compiles as an empty text.
// Leaves no program in use. Without the shader-object entry points nothing is called and
// the handles stay 0, so the effects draw through the fixed-function pipeline.
void buildEffectPrograms();

// The same four programs made to read frames kept as planes (their fragment shaders are
// kPlanarShaderFiles), built on the first call; false when GL or the shader files cannot give
// all four (such videos are then shown as RGB frames).
bool hasPlanarEffectPrograms();

// The planar program of an effect's program; `program` itself when there is none.
GLhandleARB planarEffectProgram(GLhandleARB program);
