// The OBJ side of the reader: reads positions, texture coordinates and normals into scratch
// tables, turns face and line corners into shared store vertices, triangulates faces as
// fans, accumulates smoothing-group face normals, and makes a material and a surface for
// every "usemtl" line.
#include <cstdio>
#include <string>

#include "obj/obj_internal.h"
#include "obj/post_load.h"
#include "obj/reader.h"
#include "obj/text_scan.h"

namespace obj {

namespace {

struct ObjPosition {
    float xyz[3];
    int newest;  // newest corner that used this position, -1 when none
};

struct ObjTexcoord {
    float uv[2];
};

struct ObjNormal {
    float xyz[3];
};

// One corner of a face or line, kept in its position's list of corners (newest first).
struct ObjCorner {
    int vertex;     // the store vertex the corner resolved to
    int group;      // smoothing group of a face corner
    int v, vt, vn;  // resolved 0-based table indices, -1 for none
    int next;       // next-older corner of the same position, -1 for none
};

// Scratch tables: counts drop to 0 at every load, storage is kept for the next one.
ObjPosition* positions = nullptr;
int positionCount = 0;
int positionCap = 0;
ObjTexcoord* texcoords = nullptr;
int texcoordCount = 0;
int texcoordCap = 0;
ObjNormal* normals = nullptr;
int normalCount = 0;
int normalCap = 0;
ObjCorner* corners = nullptr;
int cornerCount = 0;
int cornerCap = 0;
// Corners of the face or line being read (indices into corners), in order.
int* pendingCorners = nullptr;
int pendingCount = 0;
int pendingCap = 0;

// Negative counts back from the newest entry, positive is 1-based, 0 (not given) is none.
int resolveIndex(int index, int count) {
    if (index < 0) return index + count;
    return index - 1;
}

bool inTable(int index, int count) {
    return 0 <= index && index < count;
}

template <class T>
T* appendRecord(T** table, int* count, int* capacity) {
    int index = growArray(table, count, capacity);
    if (index < 0) return nullptr;
    *(*table + index) = T{};
    return *table + index;
}

// Finds the corner that a new corner can share its vertex with: the first one in the
// position's list with the same indices (and, for faces, the same smoothing group).
int findSharedCorner(const ObjCorner& wanted, bool compareNormalAndGroup) {
    for (int ci = positions[wanted.v].newest; ci >= 0; ci = corners[ci].next) {
        const ObjCorner& listed = corners[ci];
        if (listed.v != wanted.v || listed.vt != wanted.vt) continue;
        if (compareNormalAndGroup && (listed.vn != wanted.vn || listed.group != wanted.group)) {
            continue;
        }
        return ci;
    }
    return -1;
}

// Makes the store vertex of a new corner from the tables; attributes out of range stay zero.
int createCornerVertex(int fi, const ObjCorner& corner, bool withNormal) {
    int vi = createVertex(fi);
    if (vi < 0) return -1;
    setVertexPosition(fi, vi, positions[corner.v].xyz);
    if (withNormal && inTable(corner.vn, normalCount)) {
        setVertexNormal(fi, vi, normals[corner.vn].xyz);
    }
    if (inTable(corner.vt, texcoordCount)) setVertexTexcoord(fi, vi, texcoords[corner.vt].uv);
    return vi;
}

// Resolves one corner to a store vertex and appends it to pendingCorners. A corner whose
// position index lies outside the position table has no position to share or to give a
// vertex, and is dropped. Face corners compare normal and group; line corners take the
// normal and group of the corner they share with, and otherwise carry no normal and group 0,
// so a later face corner shares a vertex with them only when it has the same data.
void addCorner(int fi, const CornerIndices& written, int group, bool isFace) {
    ObjCorner corner{};
    corner.v = resolveIndex(written.v, positionCount);
    if (!inTable(corner.v, positionCount)) return;
    corner.vt = resolveIndex(written.vt, texcoordCount);
    corner.vn = isFace ? resolveIndex(written.vn, normalCount) : -1;
    corner.group = isFace ? group : 0;

    int ci = growArray(&corners, &cornerCount, &cornerCap);
    if (ci < 0) return;
    int* pending = appendRecord(&pendingCorners, &pendingCount, &pendingCap);
    if (!pending) {
        --cornerCount;
        return;
    }
    int shared = findSharedCorner(corner, isFace);
    if (shared >= 0) {
        corner.vertex = corners[shared].vertex;
        corner.group = corners[shared].group;
        corner.vn = corners[shared].vn;
        corner.next = shared;
    } else {
        corner.vertex = createCornerVertex(fi, corner, isFace);
        if (corner.vertex < 0) {
            --cornerCount;
            --pendingCount;
            return;
        }
        corner.next = -1;
    }
    corners[ci] = corner;
    positions[corner.v].newest = ci;
    *pending = ci;
}

void readPosition(std::string_view argument) {
    ObjPosition* position = appendRecord(&positions, &positionCount, &positionCap);
    if (!position) return;
    TextCursor cursor(argument);
    scanFloats(cursor, position->xyz, 3);
    position->newest = -1;
}

void readTexcoord(std::string_view argument) {
    ObjTexcoord* texcoord = appendRecord(&texcoords, &texcoordCount, &texcoordCap);
    if (!texcoord) return;
    TextCursor cursor(argument);
    scanFloats(cursor, texcoord->uv, 2);
}

void readNormal(std::string_view argument) {
    ObjNormal* normal = appendRecord(&normals, &normalCount, &normalCap);
    if (!normal) return;
    TextCursor cursor(argument);
    scanFloats(cursor, normal->xyz, 3);
}

// Reads the corner tokens of a face or line into pendingCorners; the first token that is
// not a corner ends the list.
void readCorners(int fi, std::string_view argument, int group, bool isFace) {
    pendingCount = 0;
    TextCursor cursor(argument);
    for (;;) {
        std::string_view token = scanToken(cursor);
        if (token.empty()) break;
        CornerIndices written;
        if (!(isFace ? scanFaceCorner(token, written) : scanLineCorner(token, written))) break;
        addCorner(fi, written, group, isFace);
    }
}

// Adds the face's normal to the vertices of its corners that have no normal index. A face
// of fewer than three corners has no normal and adds nothing.
void addFaceNormal(int fi) {
    if (pendingCount < 3) return;
    const ObjCorner& a = corners[pendingCorners[0]];
    const ObjCorner& b = corners[pendingCorners[1]];
    const ObjCorner& c = corners[pendingCorners[2]];
    float normal[3];
    faceNormal(positions[a.v].xyz, positions[b.v].xyz, positions[c.v].xyz, normal);
    for (int k = 0; k < pendingCount; ++k) {
        const ObjCorner& corner = corners[pendingCorners[k]];
        if (corner.vn != -1) continue;
        float sum[3];
        getVertexNormal(fi, corner.vertex, sum);
        for (int i = 0; i < 3; ++i) sum[i] += normal[i];
        setVertexNormal(fi, corner.vertex, sum);
    }
}

int pendingVertex(int k) {
    return corners[pendingCorners[k]].vertex;
}

void readFace(std::string_view argument, int fi, int si, int group) {
    readCorners(fi, argument, group, true);
    if (group != 0) addFaceNormal(fi);
    for (int i = 0; i + 2 < pendingCount; ++i) {
        int pi = createPolygon(fi, si);
        if (pi < 0) continue;
        int triangle[3] = {pendingVertex(0), pendingVertex(i + 1), pendingVertex(i + 2)};
        setPolygon(fi, si, pi, triangle);
    }
}

void readLine(std::string_view argument, int fi, int si) {
    readCorners(fi, argument, 0, false);
    for (int i = 0; i + 1 < pendingCount; ++i) {
        int li = createLine(fi, si);
        if (li < 0) continue;
        int segment[2] = {pendingVertex(i), pendingVertex(i + 1)};
        setLine(fi, si, li, segment);
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
    positionCount = 0;
    texcoordCount = 0;
    normalCount = 0;
    cornerCount = 0;
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
            readFace(split.argument, fi, surface, group);
        } else if (keyword == "l") {
            readLine(split.argument, fi, surface);
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
