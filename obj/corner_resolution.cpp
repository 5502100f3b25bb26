// Turns read corners into store vertices, in file order, sharing a vertex between a corner
// and the newest corner of its position when their indices and group agree; then fans faces
// into triangles, adds smoothing-group face normals, and strings lines into segments.
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "obj/reader_scratch.h"
#include "obj/vector3.h"

namespace obj {

ReaderScratch readerScratch;

namespace {

// How many corners ahead the table records are requested from memory: enough to cover a
// memory access while the corners between are resolved.
constexpr int kFetchAhead = 32;

// Makes the store vertex of a new corner with its position. Its normal and texture
// coordinate are copied from their tables after reading, on two threads
// (completeReadVertices): their records lie anywhere in the tables, and fetching them here
// would hold up the thread that resolves corners in file order. Until then the tangent holds
// their indices, -1 for none (attributes out of range stay zero). The file is new and has no
// GL buffer yet, so the vertex is written in place.
int createCornerVertex(ObjFile* model, const ObjPosition& position, const ReadCorner& corner) {
    int vi = growArray(&model->vertices, &model->vc, &model->vertexCap);
    if (vi < 0) return -1;
    ObjVertex& vertex = model->vertices[vi];
    vertex = ObjVertex{};
    std::memcpy(vertex.position, position.xyz, sizeof vertex.position);
    const int sources[2] = {corner.hasTexcoord ? corner.vt : -1, corner.hasNormal ? corner.vn : -1};
    std::memcpy(vertex.tangent, sources, sizeof sources);
    return vi;
}

// Resolves one corner to a store vertex and appends it to the pending corners. Face corners
// share with the newest corner of the same indices and group; line corners compare texture
// coordinates only and take the newest corner's normal and group, and otherwise carry no
// normal and group 0, so a later face corner shares a vertex with them only when it has the
// same data.
void resolveCorner(ObjFile* model, const ReadCorner& corner, int group, bool isFace) {
    PendingCorner* pending = readerScratch.pending.append();
    if (!pending) return;
    ObjPosition& position = readerScratch.positions.records[corner.v];
    bool shares = position.vertex >= 0 && position.vt == corner.vt &&
                  (!isFace || (position.vn == corner.vn && position.group == group));
    if (!shares) {
        int vi = createCornerVertex(model, position, corner);
        if (vi < 0) {
            --readerScratch.pending.count;
            return;
        }
        position.vertex = vi;
        position.vt = corner.vt;
        position.vn = corner.vn;
        position.group = group;
    }
    *pending = PendingCorner{position.vertex, corner.v, position.vn};
}

// Asks for the position record of a corner to come into the cache. Inlined by force: GCC
// takes a separate function made only of prefetches for one without effect and drops its
// calls.
[[gnu::always_inline]] inline void fetchCorner(const ReadCorner& corner) {
    __builtin_prefetch(readerScratch.positions.records + corner.v, 1);
}

// Adds the face's normal to the vertices of its corners that have no normal index. A face
// of fewer than three corners has no normal and adds nothing.
void addFaceNormal(ObjFile* model) {
    const PendingCorner* corners = readerScratch.pending.records;
    const int count = readerScratch.pending.count;
    if (count < 3) return;
    const ObjPosition* positions = readerScratch.positions.records;
    Vec3 normal =
        faceNormal(loadVec3(positions[corners[0].v].xyz), loadVec3(positions[corners[1].v].xyz),
                   loadVec3(positions[corners[2].v].xyz));
    for (int k = 0; k < count; ++k) {
        if (corners[k].vn != -1) continue;
        float* sum = model->vertices[corners[k].vertex].normal;
        storeVec3(loadVec3(sum) + normal, sum);
    }
}

// A fan of triangles around the first corner; a triangle that cannot be stored is skipped.
void addTriangles(ObjFile* model, int si) {
    const PendingCorner* corners = readerScratch.pending.records;
    for (int i = 0; i + 2 < readerScratch.pending.count; ++i) {
        ObjSurface& surface = model->surfaces[si];
        int pi = growArray(&surface.polygons, &surface.pc, &surface.polygonCap);
        if (pi < 0) continue;
        surface.polygons[pi] =
            ObjPolygon{{corners[0].vertex, corners[i + 1].vertex, corners[i + 2].vertex}};
    }
}

void addSegments(ObjFile* model, int si) {
    const PendingCorner* corners = readerScratch.pending.records;
    for (int i = 0; i + 1 < readerScratch.pending.count; ++i) {
        ObjSurface& surface = model->surfaces[si];
        int li = growArray(&surface.lines, &surface.lc, &surface.lineCap);
        if (li < 0) continue;
        surface.lines[li] = ObjLine{{corners[i].vertex, corners[i + 1].vertex}};
    }
}

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Moves an array of count records into a fresh block of `capacity` records aligned to huge
// pages and advised to use them, before any of its pages is touched; false, leaving the
// array as it was, when there is no such block.
template <class T>
bool moveToHugePages(T** array, int count, int* capacity, int wanted) {
    std::size_t bytes =
        (static_cast<std::size_t>(wanted) * sizeof(T) + kHugePage - 1) / kHugePage * kHugePage;
    void* block = std::aligned_alloc(kHugePage, bytes);
    if (!block) return false;
#if defined(__linux__)
    madvise(block, bytes, MADV_HUGEPAGE);
#endif
    if (count > 0) std::memcpy(block, *array, static_cast<std::size_t>(count) * sizeof(T));
    freeMemory(*array);
    *array = static_cast<T*>(block);
    *capacity = wanted;
    return true;
}

// The capacity, a power of two as growArray makes them, for `made` records scaled up, but
// never beyond `most`.
int scaledCapacity(int made, double scale, int capacity, long long most) {
    double wanted = std::min(made * scale * 1.05, static_cast<double>(most));
    long long next = capacity > 0 ? capacity : 2;
    while (next < wanted && next < 0x40000000) next *= 2;
    return static_cast<int>(next);
}

// Arrays smaller than this gain nothing from huge pages.
constexpr std::size_t kReserveBytes = 4 * kHugePage;

// Moves a large array to huge pages sized for `made` records scaled up, but no more than
// `most`.
template <class T>
void reserveScaled(T** array, int made, int* capacity, double scale, long long most) {
    int wanted = scaledCapacity(made, scale, *capacity, most);
    if (wanted > *capacity && wanted * sizeof(T) >= kReserveBytes) {
        moveToHugePages(array, made, capacity, wanted);
    }
}

}  // namespace

void reserveForModel(ObjFile* model, int si, double scale, long long restBytes) {
    // Tests that make allocations fail see every store allocation go through their hook.
    if (allocationHooked() || !(scale > 1)) return;
    // Every corner takes at least two characters ("1 "), every material a "usemtl" line of
    // at least seven. The surfaces (40 bytes against a material's 288) are left to grow: in
    // huge pages their array raised the peak memory more than it saved time.
    const long long corners = restBytes / 2;
    reserveScaled(&model->vertices, model->vc, &model->vertexCap, scale, corners);
    reserveScaled(&model->materials, model->mc, &model->materialCap, scale, restBytes / 7);
    ObjSurface& surface = model->surfaces[si];
    bool onlySurface = true;
    for (int other = 0; other < model->sc; ++other) {
        if (other != si && model->surfaces[other].pc > 0) onlySurface = false;
    }
    if (onlySurface)
        reserveScaled(&surface.polygons, surface.pc, &surface.polygonCap, scale, corners);
}

void completeReadVertices(ObjFile* model, int first, int last) {
    // The vertices are walked in order, so the table records of those a little ahead can be
    // asked for early and their memory accesses overlap.
    constexpr int kFetchAhead = 16;
    const ObjTexcoord* texcoords = readerScratch.texcoords.records;
    const ObjNormal* normals = readerScratch.normals.records;
    ObjVertex* vertices = model->vertices;
    for (int vi = first; vi < last; ++vi) {
        int sources[2];
        if (vi + kFetchAhead < last) {
            std::memcpy(sources, vertices[vi + kFetchAhead].tangent, sizeof sources);
            if (sources[0] >= 0) __builtin_prefetch(texcoords + sources[0]);
            if (sources[1] >= 0) __builtin_prefetch(normals + sources[1]);
        }
        ObjVertex& vertex = vertices[vi];
        std::memcpy(sources, vertex.tangent, sizeof sources);
        if (sources[0] >= 0)
            std::memcpy(vertex.texcoord, texcoords[sources[0]].uv, sizeof vertex.texcoord);
        if (sources[1] >= 0)
            std::memcpy(vertex.normal, normals[sources[1]].xyz, sizeof vertex.normal);
        vertex.tangent[0] = vertex.tangent[1] = 0;
    }
}

void resolveBatch(ObjFile* model) {
    const ReadCorner* batch = readerScratch.batch.records;
    const int corners = readerScratch.batch.count;
    for (int k = 0; k < kFetchAhead && k < corners; ++k) fetchCorner(batch[k]);
    for (int e = 0; e < readerScratch.elements.count; ++e) {
        const ReadElement& element = readerScratch.elements.records[e];
        readerScratch.pending.count = 0;
        for (int k = element.first; k < element.first + element.count; ++k) {
            if (k + kFetchAhead < corners) fetchCorner(batch[k + kFetchAhead]);
            resolveCorner(model, batch[k], element.group, element.isFace);
        }
        if (element.isFace) {
            if (element.group != 0) addFaceNormal(model);
            addTriangles(model, element.surface);
        } else {
            addSegments(model, element.surface);
        }
    }
    readerScratch.batch.count = 0;
    readerScratch.elements.count = 0;
}

}  // namespace obj
