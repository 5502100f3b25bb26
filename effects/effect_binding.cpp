#include "effects/effect_binding.h"

#include <algorithm>

namespace {

// Each setter looks its location up immediately before the assignment; a name the linked
// program does not use gives -1, which GL ignores.
void setUniform(GLhandleARB handle, const char* name, float value) {
    if (handle == 0) return;
    glUniform1fARB(glGetUniformLocationARB(handle, name), value);
}

void setUniform(GLhandleARB handle, const char* name, int value) {
    if (handle == 0) return;
    glUniform1iARB(glGetUniformLocationARB(handle, name), value);
}

void setUniform(GLhandleARB handle, const char* name, int first, int second) {
    if (handle == 0) return;
    glUniform2iARB(glGetUniformLocationARB(handle, name), first, second);
}

void bindOnUnit(GLenum unit, GLuint texture, GLint wrap) {
    if (glActiveTextureARB) glActiveTextureARB(unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

bool hasUniformEntryPoints() {
    return glUseProgramObjectARB && glGetUniformLocationARB && glUniform1iARB && glUniform1fARB &&
           glUniform2iARB;
}

}  // namespace

void bindEffect(GLhandleARB handle, const EffectParameters& p, const EffectTextures& textures) {
    // Without the shader-object entry points there is nothing to install or feed; the
    // textures are still bound, so the face draws through the fixed-function pipeline.
    if (hasUniformEntryPoints()) {
        glUseProgramObjectARB(handle);
    } else {
        handle = 0;
    }
    const int mode = std::clamp(p.mode, 0, 3);

    // The effects are cumulative: each one starts at its own entry and runs to the end.
    if (mode >= 3) {
        setUniform(handle, "colorBoost", p.colorBoost);
        setUniform(handle, "burntOutPercent", p.burntOutPercent);
        bindOnUnit(GL_TEXTURE1_ARB, textures.noise, GL_REPEAT);
        setUniform(handle, "noiseTexture", 1);
    }
    if (mode >= 2) {
        setUniform(handle, "luminanceSteps", p.luminanceSteps);
        setUniform(handle, "luminanceBoost", p.luminanceBoost);
    }
    if (mode >= 1) {
        setUniform(handle, "tolerance", p.tolerance);
        setUniform(handle, "pixelRadius", p.pixelRadius);
    }
    setUniform(handle, "pixelSize", p.pixelSize);
    setUniform(handle, "billboardSize", textures.pictureWidth, textures.pictureHeight);
    bindOnUnit(GL_TEXTURE0_ARB, textures.picture, GL_CLAMP_TO_EDGE);
    setUniform(handle, "billboardTexture", 0);
}
