// Materials of a file: creation with the lighting defaults, deletion with the renumbering
// of the surfaces that refer to materials, the name and the plain slot accessors.
#include <cstring>

#include "obj/obj_internal.h"

namespace obj {

namespace {

ObjMap* slot(int fi, int mi, int ki) {
    return &file(fi)->materials[mi].maps[ki];
}

void checkSlot(int fi, int mi, int ki) {
    OBJ_CHECK(0 <= fi && fi < fc);
    OBJ_CHECK(0 <= mi && mi < file(fi)->mc);
    OBJ_CHECK(0 <= ki && ki < 5);
}

// Colours a new material starts with, by slot: the usual fixed-function light terms.
constexpr float defaultColors[kindCount][4] = {
    {0.8f, 0.8f, 0.8f, 1.0f},  // diffuse, fully opaque
    {0.2f, 0.2f, 0.2f, 1.0f},  // ambient
    {0.0f, 0.0f, 0.0f, 1.0f},  // emission
    {0.0f, 0.0f, 0.0f, 1.0f},  // specular
    {8.0f, 0.0f, 0.0f, 0.0f},  // shininess exponent
};

// A new material: unnamed, no maps, the default colours, no offset and unit scale.
ObjMaterial defaultMaterial() {
    ObjMaterial material{};
    for (int ki = 0; ki < kindCount; ++ki) {
        ObjMap& map = material.maps[ki];
        std::memcpy(map.c, defaultColors[ki], sizeof map.c);
        map.s[0] = map.s[1] = map.s[2] = 1.0f;
    }
    return material;
}

}  // namespace

int createMaterial(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    ObjFile* f = file(fi);
    int mi = growArray(&f->materials, &f->mc, &f->materialCap);
    if (mi < 0) return -1;
    static const ObjMaterial fresh = defaultMaterial();
    f->materials[mi] = fresh;
    return mi;
}

bool copyMaterial(int fi, int from, int to) {
    ObjMaterial* materials = file(fi)->materials;
    for (const ObjMap& map : materials[from].maps) {
        if (map.texture != 0) return false;
    }
    releaseMaterial(fi, to);
    materials[to] = materials[from];
    ObjMaterial& copy = materials[to];
    copy.name = replaceString(nullptr, copy.name);
    for (ObjMap& map : copy.maps) map.path = replaceString(nullptr, map.path);
    return true;
}

void releaseMaterial(int fi, int mi) {
    ObjMaterial* m = &file(fi)->materials[mi];
    m->name = replaceString(m->name, nullptr);
    for (ObjMap& map : m->maps) {
        map.path = replaceString(map.path, nullptr);
        deleteMapTexture(&map.texture);
    }
}

void deleteMaterial(int fi, int mi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    OBJ_CHECK(0 <= mi && mi < file(fi)->mc);
    releaseMaterial(fi, mi);
    ObjFile* f = file(fi);
    removeRecord(f->materials, &f->mc, mi, sizeof(ObjMaterial));
    for (int si = f->sc - 1; si >= 0; --si) {
        ObjSurface* s = surf(fi, si);
        if (s->material == mi) {
            deleteSurface(fi, si);
        } else if (s->material > mi) {
            --s->material;
        }
    }
}

int materialCount(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    return file(fi)->mc;
}

void setMaterialName(int fi, int mi, const char* name) {
    OBJ_CHECK(0 <= fi && fi < fc);
    OBJ_CHECK(0 <= mi && mi < file(fi)->mc);
    ObjMaterial* m = &file(fi)->materials[mi];
    m->name = replaceString(m->name, name);
}

const char* getMaterialName(int fi, int mi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    OBJ_CHECK(0 <= mi && mi < file(fi)->mc);
    return file(fi)->materials[mi].name;
}

unsigned int getMaterialTexture(int fi, int mi, int ki) {
    checkSlot(fi, mi, ki);
    return slot(fi, mi, ki)->texture;
}

void setMaterialFlags(int fi, int mi, int ki, int flags) {
    checkSlot(fi, mi, ki);
    slot(fi, mi, ki)->flags = flags;
}

int getMaterialFlags(int fi, int mi, int ki) {
    checkSlot(fi, mi, ki);
    return slot(fi, mi, ki)->flags;
}

void setMaterialColor(int fi, int mi, int ki, const float* color) {
    checkSlot(fi, mi, ki);
    std::memcpy(slot(fi, mi, ki)->c, color, sizeof(float) * 4);
}

void getMaterialColor(int fi, int mi, int ki, float* color) {
    checkSlot(fi, mi, ki);
    std::memcpy(color, slot(fi, mi, ki)->c, sizeof(float) * 4);
}

void setMaterialOffset(int fi, int mi, int ki, const float* offset) {
    checkSlot(fi, mi, ki);
    std::memcpy(slot(fi, mi, ki)->o, offset, sizeof(float) * 3);
}

void getMaterialOffset(int fi, int mi, int ki, float* offset) {
    checkSlot(fi, mi, ki);
    std::memcpy(offset, slot(fi, mi, ki)->o, sizeof(float) * 3);
}

void setMaterialScale(int fi, int mi, int ki, const float* scale) {
    checkSlot(fi, mi, ki);
    std::memcpy(slot(fi, mi, ki)->s, scale, sizeof(float) * 3);
}

void getMaterialScale(int fi, int mi, int ki, float* scale) {
    checkSlot(fi, mi, ki);
    std::memcpy(scale, slot(fi, mi, ki)->s, sizeof(float) * 3);
}

}  // namespace obj
