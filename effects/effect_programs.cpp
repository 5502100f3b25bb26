#include "effects/effect_programs.h"

#include <iterator>
#include <string>

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

}  // namespace

void buildEffectPrograms() {
    if (!hasShaderObjectEntryPoints()) return;
    for (int effect = 0; effect < kEffectCount; ++effect) {
        auto vertexText = readShaderSource(shaderPath(kShaderFiles[2 * effect]).c_str());
        auto fragmentText = readShaderSource(shaderPath(kShaderFiles[2 * effect + 1]).c_str());

        GLhandleARB vertexShader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
        GLhandleARB fragmentShader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
        handSource(vertexShader, vertexText.get());
        handSource(fragmentShader, fragmentText.get());
        vertexText.reset();
        fragmentText.reset();

        glCompileShaderARB(vertexShader);
        glCompileShaderARB(fragmentShader);

        GLhandleARB program = glCreateProgramObjectARB();
        effectPrograms[effect] = program;
        glAttachObjectARB(program, vertexShader);
        glAttachObjectARB(program, fragmentShader);
        glLinkProgramARB(program);
    }
}
