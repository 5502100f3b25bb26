// The OBJ side of the reader: reads positions, texture coordinates and normals into scratch
// tables, turns face and line corners into shared store vertices, triangulates faces as
// fans, accumulates smoothing-group face normals, and makes a material and a surface for
// every "usemtl" line.
#include <cstdio>
#include <cstring>
#include <string>

#include "obj/obj_internal.h"
#include "obj/post_load.h"
#include "obj/reader.h"
#include "obj/text_scan.h"

namespace obj {

namespace {

// A position of the file and the newest corner that used it. Every corner still listed at a
// position (those a later corner may share a vertex with) has the same indices and group as
// the newest one: a corner that matches the list joins it as a copy of the match, and one
// that does not starts a new list. So the newest corner alone decides sharing, and the
// corners themselves need not be kept.
struct ObjPosition {
    float xyz[3];
    int vertex;  // store vertex of the newest corner, -1 when no corner used the position
    int vt;      // the newest corner's resolved texture-coordinate index
    int vn;      // its resolved normal index (a line corner without a match has -1)
    int group;   // its smoothing group (a line corner without a match has 0)
};

struct ObjTexcoord {
    float uv[2];
};

struct ObjNormal {
    float xyz[3];
};

// One corner of the face or line being read.
struct PendingCorner {
    int vertex;  // the store vertex the corner resolved to
    int v;       // resolved position index
    int vn;      // resolved normal index, -1 for none
};

// A growable table whose count drops to 0 at every load while its storage is kept for the
// next one.
template <class T>
struct ScratchTable {
    T* records = nullptr;
    int count = 0;
    int capacity = 0;

    // The new last record, cleared; null when the table cannot grow.
    T* append() {
        int index = growArray(&records, &count, &capacity);
        if (index < 0) return nullptr;
        records[index] = T{};
        return records + index;
    }
    bool holds(int index) const { return 0 <= index && index < count; }
};

// Everything a read keeps besides the store and the material library: the attribute tables
// that corners index, and the corners of the face or line in hand.
struct ReaderScratch {
    ScratchTable<ObjPosition> positions;
    ScratchTable<ObjTexcoord> texcoords;
    ScratchTable<ObjNormal> normals;
    ScratchTable<PendingCorner> corners;
};

ReaderScratch scratch;

// Negative counts back from the newest entry, positive is 1-based, 0 (not given) is none.
int resolveIndex(int index, int count) {
    if (index < 0) return index + count;
    return index - 1;
}

// Makes the store vertex of a new corner from the tables; attributes out of range stay zero.
// The file is new and has no GL buffer yet, so the vertex is written in place.
int createCornerVertex(ObjFile* model, const ObjPosition& position, int vt, int vn) {
    int vi = growArray(&model->vertices, &model->vc, &model->vertexCap);
    if (vi < 0) return -1;
    ObjVertex& vertex = model->vertices[vi];
    vertex = ObjVertex{};
    std::memcpy(vertex.position, position.xyz, sizeof vertex.position);
    if (scratch.normals.holds(vn)) {
        std::memcpy(vertex.normal, scratch.normals.records[vn].xyz, sizeof vertex.normal);
    }
    if (scratch.texcoords.holds(vt)) {
        std::memcpy(vertex.texcoord, scratch.texcoords.records[vt].uv, sizeof vertex.texcoord);
    }
    return vi;
}

// Resolves one corner to a store vertex and appends it to the pending corners. A corner whose
// position index lies outside the position table has no position to share or to give a
// vertex, and is dropped. Face corners share with the newest corner of the same indices and
// group; line corners compare texture coordinates only and take the newest corner's normal
// and group, and otherwise carry no normal and group 0, so a later face corner shares a
// vertex with them only when it has the same data.
void addCorner(ObjFile* model, const CornerIndices& written, int group, bool isFace) {
    const int v = resolveIndex(written.v, scratch.positions.count);
    if (!scratch.positions.holds(v)) return;
    const int vt = resolveIndex(written.vt, scratch.texcoords.count);
    const int vn = isFace ? resolveIndex(written.vn, scratch.normals.count) : -1;
    if (!isFace) group = 0;

    PendingCorner* pending = scratch.corners.append();
    if (!pending) return;
    ObjPosition& position = scratch.positions.records[v];
    bool shares = position.vertex >= 0 && position.vt == vt &&
                  (!isFace || (position.vn == vn && position.group == group));
    if (!shares) {
        int vi = createCornerVertex(model, position, vt, vn);
        if (vi < 0) {
            --scratch.corners.count;
            return;
        }
        position.vertex = vi;
        position.vt = vt;
        position.vn = vn;
        position.group = group;
    }
    *pending = PendingCorner{position.vertex, v, position.vn};
}

void readPosition(std::string_view argument) {
    ObjPosition* position = scratch.positions.append();
    if (!position) return;
    TextCursor cursor(argument);
    scanFloats(cursor, position->xyz, 3);
    position->vertex = -1;
}

void readTexcoord(std::string_view argument) {
    ObjTexcoord* texcoord = scratch.texcoords.append();
    if (!texcoord) return;
    TextCursor cursor(argument);
    scanFloats(cursor, texcoord->uv, 2);
}

void readNormal(std::string_view argument) {
    ObjNormal* normal = scratch.normals.append();
    if (!normal) return;
    TextCursor cursor(argument);
    scanFloats(cursor, normal->xyz, 3);
}

// Reads the corner tokens of a face or line into the pending corners; the first token that
// is not a corner ends the list.
void readCorners(ObjFile* model, std::string_view argument, int group, bool isFace) {
    scratch.corners.count = 0;
    TextCursor cursor(argument);
    for (;;) {
        std::string_view token = scanToken(cursor);
        if (token.empty()) break;
        CornerIndices written;
        if (!(isFace ? scanFaceCorner(token, written) : scanLineCorner(token, written))) break;
        addCorner(model, written, group, isFace);
    }
}

// Adds the face's normal to the vertices of its corners that have no normal index. A face
// of fewer than three corners has no normal and adds nothing.
void addFaceNormal(ObjFile* model) {
    const PendingCorner* corners = scratch.corners.records;
    const int count = scratch.corners.count;
    if (count < 3) return;
    const ObjPosition* positions = scratch.positions.records;
    float normal[3];
    faceNormal(positions[corners[0].v].xyz, positions[corners[1].v].xyz,
               positions[corners[2].v].xyz, normal);
    for (int k = 0; k < count; ++k) {
        if (corners[k].vn != -1) continue;
        float* sum = model->vertices[corners[k].vertex].normal;
        for (int i = 0; i < 3; ++i) sum[i] += normal[i];
    }
}

void readFace(std::string_view argument, ObjFile* model, int si, int group) {
    readCorners(model, argument, group, true);
    if (group != 0) addFaceNormal(model);
    const PendingCorner* corners = scratch.corners.records;
    for (int i = 0; i + 2 < scratch.corners.count; ++i) {
        ObjSurface& surface = model->surfaces[si];
        int pi = growArray(&surface.polygons, &surface.pc, &surface.polygonCap);
        if (pi < 0) continue;
        surface.polygons[pi] =
            ObjPolygon{{corners[0].vertex, corners[i + 1].vertex, corners[i + 2].vertex}};
    }
}

void readLine(std::string_view argument, ObjFile* model, int si) {
    readCorners(model, argument, 0, false);
    const PendingCorner* corners = scratch.corners.records;
    for (int i = 0; i + 1 < scratch.corners.count; ++i) {
        ObjSurface& surface = model->surfaces[si];
        int li = growArray(&surface.lines, &surface.lc, &surface.lineCap);
        if (li < 0) continue;
        surface.lines[li] = ObjLine{{corners[i].vertex, corners[i + 1].vertex}};
    }
}

// The "usemtl" step: a new material read from the library and a new surface that uses it.
// When either cannot be made, surface 0 becomes current.
int useMaterial(std::string_view directory, std::string_view libraryName, std::string_view argument,
                int fi) {
    TextCursor cursor(argument);
    std::string_view name = scanToken(cursor);
    int mi = createMaterial(fi);
    if (mi < 0) return 0;
    int si = createSurface(fi);
    if (si < 0) return 0;
    readMaterial(directory, libraryName, name, fi, mi);
    setSurfaceMaterial(fi, si, mi);
    return si;
}

}  // namespace

void readObj(int fi, const char* path) {
    scratch.positions.count = 0;
    scratch.texcoords.count = 0;
    scratch.normals.count = 0;
    scratch.corners.count = 0;
    std::FILE* stream = std::fopen(path, "rb");
    if (!stream) return;

    int mi = createMaterial(fi);
    int surface = mi < 0 ? -1 : createSurface(fi);
    if (surface < 0) {
        // Without a first surface no face has anywhere to go.
        std::fclose(stream);
        return;
    }
    setSurfaceMaterial(fi, surface, mi);
    int group = 0;
    std::string directory(directoryOf(path));
    std::string libraryName;
    forgetLibrary();

    LineReader reader(stream);
    std::string_view line;
    while (reader.next(line)) {
        KeywordLine split = splitKeyword(line);
        std::string_view keyword = split.keyword;
        if (keyword == "f") {
            readFace(split.argument, file(fi), surface, group);
        } else if (keyword == "l") {
            readLine(split.argument, file(fi), surface);
        } else if (keyword == "vt") {
            readTexcoord(split.argument);
        } else if (keyword == "vn") {
            readNormal(split.argument);
        } else if (keyword == "v") {
            readPosition(split.argument);
        } else if (keyword == "mtllib") {
            // A later "mtllib" replaces the name; one without a name leaves it as it was.
            TextCursor cursor(split.argument);
            std::string_view name = scanToken(cursor);
            if (!name.empty()) libraryName = name;
        } else if (keyword == "usemtl") {
            surface = useMaterial(directory, libraryName, split.argument, fi);
        } else if (keyword == "s") {
            TextCursor cursor(split.argument);
            int number = 0;
            scanInt(cursor, number);  // "off" reads no number and means group 0
            group = number;
        }
    }
    std::fclose(stream);
    forgetLibrary();
}

}  // namespace obj
