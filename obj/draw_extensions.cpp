// Finds out once per process which GL extensions the model drawing can use and fetches its
// seven entry points through the platform lookup (GLX here, WGL on Windows).
#ifndef _WIN32
#include <GL/glx.h>
#endif

#include "obj/draw_gl.h"
#include "obj/obj_internal.h"

namespace obj {

GlExtensions glExtensions;

namespace {

GlEntryPointLookup entryPointLookup = nullptr;
const char* extensionStringOverride = nullptr;

void* platformLookup(const char* name) {
#ifdef _WIN32
    return reinterpret_cast<void*>(wglGetProcAddress(name));
#else
    return reinterpret_cast<void*>(glXGetProcAddress(reinterpret_cast<const GLubyte*>(name)));
#endif
}

template <class Function>
void fetch(Function* entry, const char* name) {
    *entry = reinterpret_cast<Function>(lookupGlEntryPoint(name));
}

}  // namespace

void* lookupGlEntryPoint(const char* name) {
    return entryPointLookup ? entryPointLookup(name) : platformLookup(name);
}

void setGlEntryPointLookup(GlEntryPointLookup lookup) {
    entryPointLookup = lookup;
}

void setGlExtensionString(const char* extensions) {
    extensionStringOverride = extensions;
}

void forgetGlExtensionProbe() {
    glExtensions = GlExtensions{};
}

bool extensionListHas(const char* list, const char* name) {
    if (!list || !name) return false;
    const char* at = list;
    for (;;) {
        const char* wanted = name;
        while (*at && *wanted && *at == *wanted) {
            ++at;
            ++wanted;
        }
        if (!*wanted && (*at == ' ' || *at == '\0')) return true;
        if (!*at) return false;
        ++at;  // continue after the character at which the comparison stopped
    }
}

bool hasGlExtension(const char* name) {
    const char* list = extensionStringOverride
                           ? extensionStringOverride
                           : reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensionListHas(list, name);
}

void probeGlExtensions() {
    if (glExtensions.extensionsProbed) return;
    glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS_ARB, &glExtensions.textureUnitCount);
    glExtensions.hasVertexBuffers = hasGlExtension("GL_ARB_vertex_buffer_object");
    glExtensions.hasMultitexture = hasGlExtension("GL_ARB_multitexture");
    fetch(&glExtensions.enableVertexAttribArray, "glEnableVertexAttribArrayARB");
    fetch(&glExtensions.vertexAttribPointer, "glVertexAttribPointerARB");
    fetch(&glExtensions.genBuffers, "glGenBuffersARB");
    fetch(&glExtensions.bindBuffer, "glBindBufferARB");
    fetch(&glExtensions.bufferData, "glBufferDataARB");
    fetch(&glExtensions.deleteBuffers, "glDeleteBuffersARB");
    fetch(&glExtensions.activeTexture, "glActiveTextureARB");
    // A listed extension whose entry points are missing cannot be used: drawing then takes
    // the client-array path, or applies only the diffuse map to the active unit.
    if (!glExtensions.genBuffers || !glExtensions.bindBuffer || !glExtensions.bufferData ||
        !glExtensions.deleteBuffers) {
        glExtensions.hasVertexBuffers = false;
    }
    if (!glExtensions.activeTexture) glExtensions.hasMultitexture = false;
    glExtensions.extensionsProbed = true;
}

void releaseVertexBuffer(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    ObjFile* f = file(fi);
    if (f->vbo == 0) return;
    // A buffer exists only where the probe found the entry point that made it.
    if (glExtensions.deleteBuffers) glExtensions.deleteBuffers(1, &f->vbo);
    f->vbo = 0;
}

}  // namespace obj
