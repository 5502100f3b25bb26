// Surfaces of a file with their triangles and line segments: creation, deletion and the
// plain accessors. Stored values are not checked against the vertices or materials.
#include <cstring>

#include "obj/obj_internal.h"

namespace obj {

namespace {

void checkSurface(int fi, int si) {
    OBJ_CHECK(0 <= fi && fi < fc);
    OBJ_CHECK(0 <= si && si < file(fi)->sc);
}

void checkPolygon(int fi, int si, int pi) {
    checkSurface(fi, si);
    OBJ_CHECK(0 <= pi && pi < surf(fi, si)->pc);
}

void checkLine(int fi, int si, int li) {
    checkSurface(fi, si);
    OBJ_CHECK(0 <= li && li < surf(fi, si)->lc);
}

}  // namespace

int createSurface(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    ObjFile* f = file(fi);
    int si = growArray(&f->surfaces, &f->sc, &f->surfaceCap);
    if (si < 0) return -1;
    std::memset(surf(fi, si), 0, sizeof(ObjSurface));
    return si;
}

void releaseSurface(int fi, int si) {
    ObjSurface* s = surf(fi, si);
    freeMemory(s->polygons);
    freeMemory(s->lines);
    s->polygons = nullptr;
    s->lines = nullptr;
}

void deleteSurface(int fi, int si) {
    checkSurface(fi, si);
    releaseSurface(fi, si);
    ObjFile* f = file(fi);
    removeRecord(f->surfaces, &f->sc, si, sizeof(ObjSurface));
}

int surfaceCount(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    return file(fi)->sc;
}

void setSurfaceMaterial(int fi, int si, int mi) {
    checkSurface(fi, si);
    surf(fi, si)->material = mi;
}

int getSurfaceMaterial(int fi, int si) {
    checkSurface(fi, si);
    return surf(fi, si)->material;
}

int createPolygon(int fi, int si) {
    checkSurface(fi, si);
    ObjSurface* s = surf(fi, si);
    int pi = growArray(&s->polygons, &s->pc, &s->polygonCap);
    if (pi < 0) return -1;
    std::memset(&s->polygons[pi], 0, sizeof(ObjPolygon));
    return pi;
}

void deletePolygon(int fi, int si, int pi) {
    checkPolygon(fi, si, pi);
    ObjSurface* s = surf(fi, si);
    removeRecord(s->polygons, &s->pc, pi, sizeof(ObjPolygon));
}

int polygonCount(int fi, int si) {
    checkSurface(fi, si);
    return surf(fi, si)->pc;
}

void setPolygon(int fi, int si, int pi, const int* vi) {
    checkPolygon(fi, si, pi);
    std::memcpy(surf(fi, si)->polygons[pi].vi, vi, sizeof(int) * 3);
}

void getPolygon(int fi, int si, int pi, int* vi) {
    checkPolygon(fi, si, pi);
    std::memcpy(vi, surf(fi, si)->polygons[pi].vi, sizeof(int) * 3);
}

int createLine(int fi, int si) {
    checkSurface(fi, si);
    ObjSurface* s = surf(fi, si);
    int li = growArray(&s->lines, &s->lc, &s->lineCap);
    if (li < 0) return -1;
    std::memset(&s->lines[li], 0, sizeof(ObjLine));
    return li;
}

void deleteLine(int fi, int si, int li) {
    checkLine(fi, si, li);
    ObjSurface* s = surf(fi, si);
    removeRecord(s->lines, &s->lc, li, sizeof(ObjLine));
}

int lineCount(int fi, int si) {
    checkSurface(fi, si);
    return surf(fi, si)->lc;
}

void setLine(int fi, int si, int li, const int* vi) {
    checkLine(fi, si, li);
    std::memcpy(surf(fi, si)->lines[li].vi, vi, sizeof(int) * 2);
}

void getLine(int fi, int si, int li, int* vi) {
    checkLine(fi, si, li);
    std::memcpy(vi, surf(fi, si)->lines[li].vi, sizeof(int) * 2);
}

}  // namespace obj
