// GL side of the model library: the extension state found once per process, the platform's
// entry-point lookup, and seams through which tests replace the extension string or lookup.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glext.h>

namespace obj {

struct GlExtensions {
    bool extensionsProbed = false;
    int textureUnitCount = 0;  // GL_MAX_TEXTURE_IMAGE_UNITS_ARB
    bool hasVertexBuffers = false;
    bool hasMultitexture = false;
    // Null when the driver does not provide the entry point.
    PFNGLENABLEVERTEXATTRIBARRAYARBPROC enableVertexAttribArray = nullptr;
    PFNGLVERTEXATTRIBPOINTERARBPROC vertexAttribPointer = nullptr;
    PFNGLGENBUFFERSARBPROC genBuffers = nullptr;
    PFNGLBINDBUFFERARBPROC bindBuffer = nullptr;
    PFNGLBUFFERDATAARBPROC bufferData = nullptr;
    PFNGLDELETEBUFFERSARBPROC deleteBuffers = nullptr;
    PFNGLACTIVETEXTUREARBPROC activeTexture = nullptr;
};

// Written by probeGlExtensions, read by the drawing and map steps.
extern GlExtensions glExtensions;

// The entry point of a named GL function for the current context, or null.
using GlEntryPointLookup = void* (*)(const char* name);
void* lookupGlEntryPoint(const char* name);

// Test seams: a lookup used instead of the platform's (null restores it), an extension
// string used instead of the driver's (null restores it), and forgetting the probe so the
// next GL operation runs it again.
void setGlEntryPointLookup(GlEntryPointLookup lookup);
void setGlExtensionString(const char* extensions);
void forgetGlExtensionProbe();

// The steps of drawModel: upload the vertices once into a GL buffer, describe the vertex
// record to GL as arrays, set one material (maps and colours), draw one surface. Each tests
// its indices as the public operations do.
void makeVertexBuffer(int fi);
void bindVertexArrays(int fi);
void applyMaterial(int fi, int mi);
void drawSurface(int fi, int si);

// True when name occurs in the blank-separated list followed by a blank or the end; the
// match may start inside a longer name.
bool extensionListHas(const char* list, const char* name);

}  // namespace obj
