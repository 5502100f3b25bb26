// The direction a triangle gives the tangents of its vertices, shared by the reader, which
// sums it as it makes each triangle, and the post-load pass, which sums it when the reader
// could not.
#pragma once

#include "obj/obj_internal.h"
#include "obj/vector3.h"

namespace obj {

// The unit direction in which the second texture coordinate stays constant across the
// triangle v0, v1, v2 (no division by the texture-space determinant).
inline Vec3 triangleTangent(const ObjVertex& v0, const ObjVertex& v1, const ObjVertex& v2) {
    float dt1 = v1.texcoord[1] - v0.texcoord[1];
    float dt2 = v2.texcoord[1] - v0.texcoord[1];
    float u[3];
    for (int i = 0; i < 3; ++i) {
        float dv1 = v1.position[i] - v0.position[i];
        float dv2 = v2.position[i] - v0.position[i];
        u[i] = dt2 * dv1 - dt1 * dv2;
    }
    return normalize3(loadVec3(u));
}

inline void addTangent(Vec3 u, ObjVertex& vertex) {
    float* tangent = vertex.tangent;
    tangent[0] += u.x;
    tangent[1] += u.y;
    tangent[2] += u.z;
}

}  // namespace obj
