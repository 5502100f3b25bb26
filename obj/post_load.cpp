// The pass that runs after a model is read: drops the surfaces and materials that nothing
// used, turns accumulated normals into unit normals, builds a unit tangent per vertex, and
// orders the surfaces opaque first. Also the public sumFaceNormals.
#include <algorithm>
#include <cmath>
#include <thread>

#include "obj/obj_internal.h"
#include "obj/vector3.h"

namespace obj {

namespace {

// Up to this many surfaces the drawing order comes from the exchange procedure itself; it is
// quadratic, and a model with more surfaces (one per "usemtl" line) gets the same order by a
// stable sort, which may differ from it only in how surfaces of equal opacity are arranged.
constexpr int kExchangeOrderLimit = 8192;

bool validTriangle(const ObjPolygon& polygon, int vc) {
    for (int vi : polygon.vi) {
        if (vi < 0 || vi >= vc) return false;
    }
    return true;
}

float surfaceOpacity(const ObjFile* model, const ObjSurface& surface) {
    // A surface naming a missing material is drawn without one, so it counts as opaque.
    if (surface.material < 0 || surface.material >= model->mc) return 1.0f;
    return model->materials[surface.material].maps[diffuse].c[3];
}

// Removes, in place and keeping the order, the surfaces without polygons and lines.
void removeEmptySurfaces(int fi) {
    ObjFile* model = file(fi);
    int kept = 0;
    for (int si = 0; si < model->sc; ++si) {
        ObjSurface& surface = model->surfaces[si];
        if (surface.pc == 0 && surface.lc == 0) {
            releaseSurface(fi, si);
        } else {
            model->surfaces[kept++] = surface;
        }
    }
    model->sc = kept;
}

// Removes the materials that no surface uses and renumbers the surfaces' material indices,
// as deleting each of them from the last to the first would, in one pass.
void removeUnusedMaterials(int fi) {
    ObjFile* model = file(fi);
    if (model->mc == 0) return;
    auto* newIndex = static_cast<int*>(
        reallocateMemory(nullptr, sizeof(int) * static_cast<std::size_t>(model->mc)));
    if (!newIndex) {
        // No room for the renumbering table: delete one by one instead.
        for (int mi = model->mc - 1; mi >= 0; --mi) {
            bool used = false;
            for (int si = 0; si < model->sc && !used; ++si) used = surf(fi, si)->material == mi;
            if (!used) deleteMaterial(fi, mi);
        }
        return;
    }
    std::fill(newIndex, newIndex + model->mc, -1);
    for (int si = 0; si < model->sc; ++si) {
        int mi = model->surfaces[si].material;
        if (0 <= mi && mi < model->mc) newIndex[mi] = 0;
    }
    int kept = 0;
    for (int mi = 0; mi < model->mc; ++mi) {
        if (newIndex[mi] < 0) {
            releaseMaterial(fi, mi);
        } else {
            newIndex[mi] = kept;
            model->materials[kept++] = model->materials[mi];
        }
    }
    for (int si = 0; si < model->sc; ++si) {
        int& mi = model->surfaces[si].material;
        if (0 <= mi && mi < model->mc) mi = newIndex[mi];
    }
    model->mc = kept;
    freeMemory(newIndex);
}

// Sums, per vertex of [first, last), the unit direction in which the second texture
// coordinate stays constant across each of its triangles. Every vertex receives its
// triangles' directions in triangle order whichever range it lies in, so splitting the
// vertices between threads gives the same sums.
void sumTangents(ObjFile* model, int first, int last) {
    auto owned = [first, last](int vi) { return first <= vi && vi < last; };
    // Triangles name vertices anywhere in the array: the vertices of the triangles a few
    // places ahead are asked for early, so that their memory accesses overlap.
    constexpr int kFetchAhead = 32;
    for (int si = 0; si < model->sc; ++si) {
        const ObjSurface& surface = model->surfaces[si];
        for (int pi = 0; pi < surface.pc; ++pi) {
            if (pi + kFetchAhead < surface.pc) {
                for (int vi : surface.polygons[pi + kFetchAhead].vi) {
                    if (owned(vi)) {
                        __builtin_prefetch(&model->vertices[vi].tangent, 1);
                        __builtin_prefetch(&model->vertices[vi].position[2], 1);
                    }
                }
            }
            const ObjPolygon& polygon = surface.polygons[pi];
            const int* vi = polygon.vi;
            if (!owned(vi[0]) && !owned(vi[1]) && !owned(vi[2])) continue;
            if (!validTriangle(polygon, model->vc)) continue;
            const ObjVertex& v0 = model->vertices[vi[0]];
            const ObjVertex& v1 = model->vertices[vi[1]];
            const ObjVertex& v2 = model->vertices[vi[2]];
            float dt1 = v1.texcoord[1] - v0.texcoord[1];
            float dt2 = v2.texcoord[1] - v0.texcoord[1];
            float u[3];
            for (int i = 0; i < 3; ++i) {
                float dv1 = v1.position[i] - v0.position[i];
                float dv2 = v2.position[i] - v0.position[i];
                u[i] = dt2 * dv1 - dt1 * dv2;
            }
            normalize3(u);
            for (int k = 0; k < 3; ++k) {
                if (!owned(vi[k])) continue;
                float* tangent = model->vertices[vi[k]].tangent;
                for (int i = 0; i < 3; ++i) tangent[i] += u[i];
            }
        }
    }
}

// Scales each normal of [first, last) to unit length, then makes the tangent perpendicular
// to it and of unit length (the tangent sums do not depend on the normals, so both happen in
// one pass). A vertex without a normal keeps the direction of its summed tangent. Each step
// runs over a block of vertices before the next: the square roots and divisions of different
// vertices then overlap instead of waiting on one another.
void finishNormalsAndTangents(ObjFile* model, int first, int last) {
    constexpr int kBlock = 64;
    for (int block = first; block < last; block += kBlock) {
        ObjVertex* vertices = model->vertices + block;
        const int count = std::min(kBlock, last - block);
        for (int k = 0; k < count; ++k) normalize3(vertices[k].normal);
        for (int k = 0; k < count; ++k) {
            ObjVertex& vertex = vertices[k];
            const float* n = vertex.normal;
            if (n[0] != 0 || n[1] != 0 || n[2] != 0) {
                Vec3 normal = loadVec3(n);
                Vec3 w = cross(normal, loadVec3(vertex.tangent));
                storeVec3(cross(w, normal), vertex.tangent);
            }
        }
        for (int k = 0; k < count; ++k) normalize3(vertices[k].tangent);
    }
}

// Models with fewer vertices are finished on one thread: starting a second costs more.
constexpr int kSplitVertices = 1 << 16;

// Runs work(first, last) on the model's vertices, the upper half on a second thread when
// there are many and a thread can be had.
template <class Work>
void onVertexHalves(ObjFile* model, Work work) {
    const int count = model->vc;
    const int middle = count / 2;
    std::thread upper;
    if (count >= kSplitVertices) {
        try {
            upper = std::thread([&] { work(middle, count); });
        } catch (...) {
        }
    }
    if (!upper.joinable()) return work(0, count);
    work(0, middle);
    upper.join();
}

// Highest opacity first: for each position i, every later surface that is more opaque than
// the one at i is exchanged with it. Comparisons with NaN never exchange.
void orderByExchange(ObjFile* model) {
    for (int i = 0; i < model->sc; ++i) {
        for (int j = i + 1; j < model->sc; ++j) {
            if (surfaceOpacity(model, model->surfaces[i]) <
                surfaceOpacity(model, model->surfaces[j])) {
                std::swap(model->surfaces[i], model->surfaces[j]);
            }
        }
    }
}

// Whether the exchange procedure would exchange anything: some surface is more opaque than
// one before it (NaN opacities compare with nothing).
bool needsOrdering(const ObjFile* model) {
    bool seen = false;
    float least = 0;
    for (int si = 0; si < model->sc; ++si) {
        float opacity = surfaceOpacity(model, model->surfaces[si]);
        if (std::isnan(opacity)) continue;
        if (seen && opacity > least) return true;
        if (!seen || opacity < least) least = opacity;
        seen = true;
    }
    return false;
}

// The exchange procedure's order for many surfaces: surfaces of NaN opacity are never moved
// by it, and the others end up sorted by descending opacity in the remaining places. The
// opacities are looked up once, and sorted with the surfaces' places, rather than looked up
// through the materials at every comparison.
void orderBySort(ObjFile* model) {
    struct Keyed {
        float opacity;
        int si;
    };
    const std::size_t count = static_cast<std::size_t>(model->sc);
    auto* keyed = static_cast<Keyed*>(reallocateMemory(nullptr, sizeof(Keyed) * count));
    auto* before = static_cast<ObjSurface*>(reallocateMemory(nullptr, sizeof(ObjSurface) * count));
    if (!keyed || !before) {
        freeMemory(keyed);
        freeMemory(before);
        return orderByExchange(model);
    }
    int numbered = 0;
    for (int si = 0; si < model->sc; ++si) {
        float opacity = surfaceOpacity(model, model->surfaces[si]);
        if (!std::isnan(opacity)) keyed[numbered++] = Keyed{opacity, si};
    }
    // The numbered places, in order, before the sort reorders them.
    std::copy(model->surfaces, model->surfaces + model->sc, before);
    std::stable_sort(keyed, keyed + numbered,
                     [](const Keyed& a, const Keyed& b) { return a.opacity > b.opacity; });
    int next = 0;
    for (int si = 0; si < model->sc; ++si) {
        if (!std::isnan(surfaceOpacity(model, before[si]))) {
            model->surfaces[si] = before[keyed[next++].si];
        }
    }
    freeMemory(keyed);
    freeMemory(before);
}

}  // namespace

void cleanFile(int fi) {
    if (fi < 0 || fi >= fc) return;
    removeEmptySurfaces(fi);
    removeUnusedMaterials(fi);
}

void finishFile(int fi, bool readVertices) {
    OBJ_CHECK(0 <= fi && fi < fc);
    ObjFile* model = file(fi);
    // Every vertex must be complete before any triangle's tangent is summed.
    onVertexHalves(model, [model, readVertices](int first, int last) {
        if (readVertices) return completeReadVertices(model, first, last);
        for (int vi = first; vi < last; ++vi) {
            float* tangent = model->vertices[vi].tangent;
            tangent[0] = tangent[1] = tangent[2] = 0;
        }
    });
    onVertexHalves(model, [model](int first, int last) {
        sumTangents(model, first, last);
        finishNormalsAndTangents(model, first, last);
    });
    if (!needsOrdering(model)) return;
    if (model->sc <= kExchangeOrderLimit) {
        orderByExchange(model);
    } else {
        orderBySort(model);
    }
}

void sumFaceNormals(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    ObjFile* model = file(fi);
    for (int si = 0; si < model->sc; ++si) {
        const ObjSurface& surface = model->surfaces[si];
        for (int pi = 0; pi < surface.pc; ++pi) {
            const ObjPolygon& polygon = surface.polygons[pi];
            if (!validTriangle(polygon, model->vc)) continue;
            ObjVertex* v[3];
            for (int k = 0; k < 3; ++k) v[k] = &model->vertices[polygon.vi[k]];
            Vec3 normal = faceNormal(loadVec3(v[0]->position), loadVec3(v[1]->position),
                                     loadVec3(v[2]->position));
            for (ObjVertex* vertex : v)
                storeVec3(loadVec3(vertex->normal) + normal, vertex->normal);
        }
    }
}

}  // namespace obj
