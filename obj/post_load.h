// Float-triple geometry shared by the reader (smoothing-group face normals) and the post-load
// pass (unit normals, tangents). A vector without a direction normalises to zero, so no
// NaN from a degenerate triangle or an unset normal ever reaches GL.
#pragma once

namespace obj {

// out = a × b (out may alias neither a nor b).
void cross3(const float* a, const float* b, float* out);

// Scales v to unit length; a zero, infinite or NaN length makes it (0, 0, 0).
void normalize3(float* v);

// Unit normal of the triangle a, b, c: counter-clockwise corners face the viewer.
void faceNormal(const float* a, const float* b, const float* c, float* normal);

}  // namespace obj
