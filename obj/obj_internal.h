// Records and module state of the model library, shared by its source files (store, reader,
// post-load pass, maps, drawing, writer). Field order and sizes are fixed: vertices and index
// arrays go to GL exactly as they lie in memory.
#pragma once

#include <cstddef>

#include "obj/obj.h"

namespace obj {

struct ObjMap {
    char* path;            // image file of the map, owned; null when the slot has no map
    int flags;             // MAP_CLAMP or 0
    unsigned int texture;  // GL texture name, 0 when none
    float c[4];            // colour or value of the slot
    float o[3];            // texture-coordinate offset
    float s[3];            // texture-coordinate scale
};

struct ObjMaterial {
    char* name;  // owned; null when unnamed
    ObjMap maps[kindCount];
};

struct ObjVertex {
    float tangent[3];
    float normal[3];
    float texcoord[2];
    float position[3];
};
static_assert(sizeof(ObjVertex) == 44, "the vertex record is the GL vertex stride");
static_assert(offsetof(ObjVertex, position) == 32, "position lies at byte 32 for GL");

struct ObjPolygon {
    int vi[3];
};
static_assert(sizeof(ObjPolygon) == 12, "triangles go to GL as packed 32-bit indices");

struct ObjLine {
    int vi[2];
};
static_assert(sizeof(ObjLine) == 8, "segments go to GL as packed 32-bit indices");

struct ObjSurface {
    int material;
    int pc;
    int polygonCap;
    int lc;
    int lineCap;
    ObjPolygon* polygons;
    ObjLine* lines;
};

struct ObjFile {
    unsigned int vbo;  // GL buffer holding a copy of vertices, 0 when none
    int mc;
    int materialCap;
    int vc;
    int vertexCap;
    int sc;
    int surfaceCap;
    ObjMaterial* materials;
    ObjVertex* vertices;
    ObjSurface* surfaces;
};

// The file table; it grows by doubling and is never shrunk or freed.
extern ObjFile* files;
extern int fc;
extern int fileCap;

// Unchecked accessors; the index tests name them in their texts.
inline ObjFile* file(int fi) {
    return &files[fi];
}
inline ObjSurface* surf(int fi, int si) {
    return &file(fi)->surfaces[si];
}

// Reports a failed index test with its text on standard error and ends the program.
// Stays on in every build type, unlike assert.
[[noreturn]] void failAssertion(const char* text);

// Tests an index condition; the condition's own text is the message.
#define OBJ_CHECK(test) ((test) ? (void)0 : ::obj::failAssertion(#test))

// Every allocation of the module goes through reallocateMemory (realloc semantics: a null
// block allocates, a zero size frees). Tests install a hook to make allocations fail.
using AllocationHook = void* (*)(void* block, std::size_t bytes);
void setAllocationHook(AllocationHook hook);  // null restores the C library's realloc
void* reallocateMemory(void* block, std::size_t bytes);
bool allocationHooked();
void freeMemory(void* block);

// Appends one record slot: returns the new index and raises *count, growing the array
// by doubling from 2 when full; returns -1 leaving everything unchanged when it cannot
// grow. The new record is not cleared.
int growArray(void** array, int* count, int* capacity, int recordSize);

template <class T>
int growArray(T** array, int* count, int* capacity) {
    void* raw = *array;
    int index = growArray(&raw, count, capacity, static_cast<int>(sizeof(T)));
    *array = static_cast<T*>(raw);
    return index;
}

// Removes record index of count records by moving the later ones down; lowers *count.
void removeRecord(void* array, int* count, int index, int recordSize);

// Frees old (if any) and returns a private copy of text, or null for null text or when
// the copy cannot be allocated.
char* replaceString(char* old, const char* text);

// Reader and post-load pass, run by createFile in this order.
void readObj(int fi, const char* path);
void cleanFile(int fi);
// readVertices: the vertices are the reader's, whose normals and texture coordinates are
// completed first (by completeReadVertices); otherwise the tangents are cleared.
void finishFile(int fi, bool readVertices = false);

// Copies into the reader's vertices [first, last) the normal and texture coordinate that the
// tangent names while the reader's tables are still at hand, and clears the tangent. Runs
// after reading and before the tangents are summed.
void completeReadVertices(ObjFile* model, int first, int last);

// Releases what a record owns (strings, GL objects, arrays), not the record itself.
void releaseMaterial(int fi, int mi);
// Makes material `to` of file fi a copy of material `from` with copies of its strings; false,
// leaving `to` as it was, when `from` holds a GL texture (which one material alone owns).
bool copyMaterial(int fi, int from, int to);
void releaseSurface(int fi, int si);
void releaseFile(int fi);

// Texture maps: makes a GL texture from an image file (0 when none can be read),
// the image reader hook, and the binding of one slot's texture while drawing.
unsigned int loadMapTexture(const char* path);
unsigned char* readMapImage(const char* path, int* width, int* height, int* b);
void applyMap(int fi, int mi, int ki);
// Deletes the GL texture *texture when it is not 0 and sets it to 0.
void deleteMapTexture(unsigned int* texture);

}  // namespace obj
