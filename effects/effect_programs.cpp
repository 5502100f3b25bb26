// Building the four effect programs from the files in Shaders/, and on first need their
// variants for frames kept as planes, from the *.planes.frag files.
#include "effects/effect_programs.h"

#include <iterator>
#include <string>

#include "effects/planar_uniforms.h"
#include "effects/shader_files.h"
#include "effects/shader_source.h"

bool hasShaderObjectEntryPoints() {
    return glCreateShaderObjectARB && glShaderSourceARB && glCompileShaderARB &&
           glCreateProgramObjectARB && glAttachObjectARB && glLinkProgramARB;
}

namespace {

void handSource(GLhandleARB shader, const char* text) {
    // One NUL-terminated string with no length array: GL reads up to the first NUL.
    const GLcharARB* source = text ? text : "";
    glShaderSourceARB(shader, 1, &source, nullptr);
}

std::string shaderPath(const ShaderFile& file) {
    return std::string(kShaderFolder) + file.name;
}

static_assert(std::size(kShaderFiles) == 2 * kEffectCount, "a vertex and a fragment shader each");
static_assert(std::size(kPlanarShaderFiles) == kEffectCount, "a fragment shader of planes each");

// The GL calls of one program, in the order the built-in programs have always made them.
GLhandleARB linkEffectProgram(const char* vertexText, const char* fragmentText) {
    GLhandleARB vertexShader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    GLhandleARB fragmentShader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    handSource(vertexShader, vertexText);
    handSource(fragmentShader, fragmentText);

    glCompileShaderARB(vertexShader);
    glCompileShaderARB(fragmentShader);

    GLhandleARB program = glCreateProgramObjectARB();
    glAttachObjectARB(program, vertexShader);
    glAttachObjectARB(program, fragmentShader);
    glLinkProgramARB(program);
    return program;
}

GLhandleARB planarPrograms[kEffectCount] = {};

}  // namespace

void buildEffectPrograms() {
    if (!hasShaderObjectEntryPoints()) return;
    for (int effect = 0; effect < kEffectCount; ++effect) {
        auto vertexText = readShaderSource(shaderPath(kShaderFiles[2 * effect]).c_str());
        auto fragmentText = readShaderSource(shaderPath(kShaderFiles[2 * effect + 1]).c_str());
        effectPrograms[effect] = linkEffectProgram(vertexText.get(), fragmentText.get());
    }
}

namespace {

// Built on first need: only a video shown as planes uses them.
bool buildPlanarEffectPrograms() {
    if (!hasShaderObjectEntryPoints() || !glGetObjectParameterivARB || !glActiveTextureARB ||
        !glUniformMatrix3fvARB || !glUniform3fARB) {
        return false;
    }
    for (int effect = 0; effect < kEffectCount; ++effect) {
        auto vertexText = readShaderSource(shaderPath(kShaderFiles[2 * effect]).c_str());
        auto fragmentText = readShaderSource(shaderPath(kPlanarShaderFiles[effect]).c_str());
        if (!fragmentText) return false;
        planarPrograms[effect] = linkEffectProgram(vertexText.get(), fragmentText.get());
        GLint linked = 0;
        glGetObjectParameterivARB(planarPrograms[effect], GL_OBJECT_LINK_STATUS_ARB, &linked);
        if (!linked) return false;
    }
    return true;
}

}  // namespace

bool hasPlanarEffectPrograms() {
    static const bool built = buildPlanarEffectPrograms();
    return built;
}

GLhandleARB planarEffectProgram(GLhandleARB program) {
    for (int effect = 0; effect < kEffectCount; ++effect)
        if (program != 0 && program == effectPrograms[effect] && planarPrograms[effect] != 0)
            return planarPrograms[effect];
    return program;
}
