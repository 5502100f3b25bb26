// bindEffect: the current program installed with exactly its effect's uniforms, the picture
// on unit 0, the noise on unit 1 and, for frames kept as planes, the chroma on units 2 and 3.
#include "effects/effect_binding.h"

#include <algorithm>

#include "effects/effect_programs.h"
#include "effects/planar_uniforms.h"

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

// The chroma planes on units 2 and 3, beside the noise on unit 1, and the step to RGB.
void bindPlanes(GLhandleARB handle, const EffectTextures& textures) {
    bindOnUnit(GL_TEXTURE2_ARB, textures.chroma[0], GL_CLAMP_TO_EDGE);
    setUniform(handle, kChromaUName, 2);
    bindOnUnit(GL_TEXTURE3_ARB, textures.chroma[1], GL_CLAMP_TO_EDGE);
    setUniform(handle, kChromaVName, 3);
    if (handle == 0) return;
    glUniformMatrix3fvARB(glGetUniformLocationARB(handle, kYuvMatrixName), 1, GL_FALSE,
                          textures.yuv->matrix.data());
    const auto& offset = textures.yuv->offset;
    glUniform3fARB(glGetUniformLocationARB(handle, kYuvOffsetName), offset[0], offset[1],
                   offset[2]);
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
        if (textures.yuv != nullptr) handle = planarEffectProgram(handle);
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
    if (textures.yuv != nullptr) bindPlanes(handle, textures);
    setUniform(handle, "pixelSize", p.pixelSize);
    setUniform(handle, "billboardSize", textures.pictureWidth, textures.pictureHeight);
    bindOnUnit(GL_TEXTURE0_ARB, textures.picture, GL_CLAMP_TO_EDGE);
    setUniform(handle, "billboardTexture", 0);
}
