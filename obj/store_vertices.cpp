// Vertices of a file: creation, deletion with the renumbering of every polygon and line,
// and the attribute accessors. Changing vertices drops the file's GL copy of them.
#include <cstring>

#include "obj/obj_internal.h"

namespace obj {

namespace {

ObjVertex* vertex(int fi, int vi) {
    return &file(fi)->vertices[vi];
}

void checkVertex(int fi, int vi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    OBJ_CHECK(0 <= vi && vi < file(fi)->vc);
}

// Renumbers the index lists of one array (polygons or lines, corners indices each) after
// vertex vi was removed: lists that used vi go, indices above it move down by one.
template <class Record>
void dropVertexFrom(Record* records, int* count, int corners, int vi) {
    for (int ri = *count - 1; ri >= 0; --ri) {
        int* indices = records[ri].vi;
        bool usesVertex = false;
        for (int k = 0; k < corners; ++k) usesVertex = usesVertex || indices[k] == vi;
        if (usesVertex) {
            removeRecord(records, count, ri, sizeof(Record));
            continue;
        }
        for (int k = 0; k < corners; ++k) {
            if (indices[k] > vi) --indices[k];
        }
    }
}

}  // namespace

int createVertex(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    ObjFile* f = file(fi);
    int vi = growArray(&f->vertices, &f->vc, &f->vertexCap);
    if (vi < 0) return -1;
    std::memset(vertex(fi, vi), 0, sizeof(ObjVertex));
    return vi;
}

void deleteVertex(int fi, int vi) {
    checkVertex(fi, vi);
    ObjFile* f = file(fi);
    removeRecord(f->vertices, &f->vc, vi, sizeof(ObjVertex));
    for (int si = 0; si < f->sc; ++si) {
        ObjSurface* s = surf(fi, si);
        dropVertexFrom(s->polygons, &s->pc, 3, vi);
        dropVertexFrom(s->lines, &s->lc, 2, vi);
    }
    releaseVertexBuffer(fi);
}

int vertexCount(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    return file(fi)->vc;
}

void setVertexPosition(int fi, int vi, const float* position) {
    checkVertex(fi, vi);
    std::memcpy(vertex(fi, vi)->position, position, sizeof(float) * 3);
    releaseVertexBuffer(fi);
}

void getVertexPosition(int fi, int vi, float* position) {
    checkVertex(fi, vi);
    std::memcpy(position, vertex(fi, vi)->position, sizeof(float) * 3);
}

void setVertexTexcoord(int fi, int vi, const float* texcoord) {
    checkVertex(fi, vi);
    std::memcpy(vertex(fi, vi)->texcoord, texcoord, sizeof(float) * 2);
    releaseVertexBuffer(fi);
}

void getVertexTexcoord(int fi, int vi, float* texcoord) {
    checkVertex(fi, vi);
    std::memcpy(texcoord, vertex(fi, vi)->texcoord, sizeof(float) * 2);
}

void setVertexNormal(int fi, int vi, const float* normal) {
    checkVertex(fi, vi);
    std::memcpy(vertex(fi, vi)->normal, normal, sizeof(float) * 3);
    releaseVertexBuffer(fi);
}

void getVertexNormal(int fi, int vi, float* normal) {
    checkVertex(fi, vi);
    std::memcpy(normal, vertex(fi, vi)->normal, sizeof(float) * 3);
}

}  // namespace obj
