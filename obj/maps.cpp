// Material texture maps: giving a slot an image file, turning an image into a mipmapped GL
// texture, and applying a slot (texture, wrap modes, texture matrix) while a surface draws.
// GL is touched only when a slot has a texture, so a store without textures needs no context.
#include <GL/glu.h>

#include "obj/draw_gl.h"
#include "obj/obj_internal.h"

namespace obj {

namespace {

// GL pixel format by bytes per pixel (index 1 to 4).
constexpr GLenum pixelFormats[5] = {0, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};

}  // namespace

void deleteMapTexture(unsigned int* texture) {
    if (*texture == 0) return;
    glDeleteTextures(1, texture);
    *texture = 0;
}

void setMaterialMap(int fi, int mi, int ki, const char* path) {
    OBJ_CHECK(0 <= fi && fi < fc);
    OBJ_CHECK(0 <= mi && mi < file(fi)->mc);
    OBJ_CHECK(0 <= ki && ki < 5);
    ObjMap* map = &file(fi)->materials[mi].maps[ki];
    // The old texture goes first, so a slot whose new image cannot be read keeps none.
    deleteMapTexture(&map->texture);
    map->texture = loadMapTexture(path);
    map->path = replaceString(map->path, path);
}

unsigned char* readMapImage(const char* path, int* width, int* height, int* b) {
    // No image format is decoded for maps: every path, whatever its extension, yields
    // no image and leaves the outputs unwritten.
    (void)path;
    (void)width;
    (void)height;
    (void)b;
    return nullptr;
}

unsigned int loadMapTexture(const char* path) {
    GLuint result = 0;
    if (!path) return 0;
    int width = 0;
    int height = 0;
    int b = 0;
    unsigned char* pixels = readMapImage(path, &width, &height, &b);
    if (!pixels) return 0;
    if (b < 1 || b > 4 || width <= 0 || height <= 0) {
        freeMemory(pixels);
        return 0;
    }
    probeGlExtensions();
    glGenTextures(1, &result);
    glBindTexture(GL_TEXTURE_2D, result);
    GLint format = static_cast<GLint>(pixelFormats[b]);
    gluBuild2DMipmaps(GL_TEXTURE_2D, format, width, height, pixelFormats[b], GL_UNSIGNED_BYTE,
                      pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    freeMemory(pixels);
    return result;
}

void applyMap(int fi, int mi, int ki) {
    const ObjMap* map = &file(fi)->materials[mi].maps[ki];
    if (map->texture == 0) return;
    glBindTexture(GL_TEXTURE_2D, map->texture);
    glEnable(GL_TEXTURE_2D);
    GLint wrap = (map->flags & MAP_CLAMP) ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    // Translate then scale: coordinate t is looked up at o + s * t.
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(map->o[0], map->o[1], map->o[2]);
    glScalef(map->s[0], map->s[1], map->s[2]);
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace obj
