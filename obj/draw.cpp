// Draws a model with fixed-function GL: one static vertex buffer per file (client arrays
// when buffers are absent), the interleaved vertex record described as four arrays, each
// surface's material and one indexed draw for its triangles and one for its lines.
#include <cstdint>

#include "obj/draw_gl.h"
#include "obj/obj_internal.h"

namespace obj {

namespace {

constexpr GLuint tangentAttribute = 6;
constexpr GLsizei vertexStride = sizeof(ObjVertex);

// Where the arrays start: a byte offset into the file's buffer, or an address in client
// memory when the file has no buffer (vertex buffers absent, or none could be made yet).
const GLvoid* arrayStart(const ObjFile* f, std::uintptr_t offset) {
    const auto* base = f->vbo != 0 ? static_cast<const unsigned char*>(nullptr)
                                   : reinterpret_cast<const unsigned char*>(f->vertices);
    return base + offset;
}

// A surface may hold indices set through setPolygon or setLine without any check; GL would
// read past the vertex array for them, so such a part is not drawn.
template <class Record>
bool indicesInRange(const Record* records, int count, int corners, int vc) {
    for (int ri = 0; ri < count; ++ri) {
        for (int k = 0; k < corners; ++k) {
            int vi = records[ri].vi[k];
            if (vi < 0 || vi >= vc) return false;
        }
    }
    return true;
}

}  // namespace

void makeVertexBuffer(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    probeGlExtensions();
    ObjFile* f = file(fi);
    if (f->vbo != 0 || !glExtensions.hasVertexBuffers) return;
    GLuint name = 0;
    glExtensions.genBuffers(1, &name);
    glExtensions.bindBuffer(GL_ARRAY_BUFFER_ARB, name);
    glExtensions.bufferData(GL_ARRAY_BUFFER_ARB, static_cast<GLsizeiptrARB>(f->vc) * vertexStride,
                            f->vertices, GL_STATIC_DRAW_ARB);
    f->vbo = name;
}

void bindVertexArrays(int fi) {
    probeGlExtensions();
    OBJ_CHECK(0 <= fi && fi < fc);
    const ObjFile* f = file(fi);
    // Without generic attributes the tangent is simply not passed on.
    bool tangents = glExtensions.enableVertexAttribArray && glExtensions.vertexAttribPointer;
    if (tangents) glExtensions.enableVertexAttribArray(tangentAttribute);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    // Binding 0 when the file has no buffer makes the pointers below client addresses, even
    // where a buffer was left bound by an earlier upload.
    if (glExtensions.bindBuffer) glExtensions.bindBuffer(GL_ARRAY_BUFFER_ARB, f->vbo);
    if (tangents) {
        glExtensions.vertexAttribPointer(tangentAttribute, 3, GL_FLOAT, GL_FALSE, vertexStride,
                                         arrayStart(f, offsetof(ObjVertex, tangent)));
    }
    glNormalPointer(GL_FLOAT, vertexStride, arrayStart(f, offsetof(ObjVertex, normal)));
    glTexCoordPointer(2, GL_FLOAT, vertexStride, arrayStart(f, offsetof(ObjVertex, texcoord)));
    glVertexPointer(3, GL_FLOAT, vertexStride, arrayStart(f, offsetof(ObjVertex, position)));
}

void applyMaterial(int fi, int mi) {
    probeGlExtensions();
    OBJ_CHECK(0 <= fi && fi < fc);
    OBJ_CHECK(0 <= mi && mi < file(fi)->mc);
    const ObjMaterial* m = &file(fi)->materials[mi];
    if (glExtensions.hasMultitexture) {
        // Each lighting term has its own unit; emission is never applied as a texture.
        constexpr struct {
            int ki;
            int unit;
        } unitOfSlot[] = {{shininess, 3}, {specular, 2}, {ambient, 1}, {diffuse, 0}};
        for (const auto& pair : unitOfSlot) {
            if (glExtensions.textureUnitCount <= pair.unit) continue;
            if (m->maps[pair.ki].texture == 0) continue;
            glExtensions.activeTexture(GL_TEXTURE0_ARB + pair.unit);
            applyMap(fi, mi, pair.ki);
        }
    } else {
        applyMap(fi, mi, diffuse);
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m->maps[diffuse].c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m->maps[ambient].c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m->maps[emission].c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m->maps[specular].c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, m->maps[shininess].c);
}

void drawSurface(int fi, int si) {
    probeGlExtensions();
    OBJ_CHECK(0 <= fi && fi < fc);
    OBJ_CHECK(0 <= si && si < file(fi)->sc);
    const ObjFile* f = file(fi);
    const ObjSurface* s = surf(fi, si);
    if (s->pc <= 0 && s->lc <= 0) return;
    if (0 <= s->material && s->material < f->mc) applyMaterial(fi, s->material);
    if (s->pc > 0 && indicesInRange(s->polygons, s->pc, 3, f->vc)) {
        glDrawElements(GL_TRIANGLES, 3 * s->pc, GL_UNSIGNED_INT, s->polygons);
    }
    if (s->lc > 0 && indicesInRange(s->lines, s->lc, 2, f->vc)) {
        glDrawElements(GL_LINES, 2 * s->lc, GL_UNSIGNED_INT, s->lines);
    }
}

void drawModel(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    probeGlExtensions();
    // Uploading comes before the pushes, so the buffer stays bound after the first draw.
    makeVertexBuffer(fi);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glPushAttrib(GL_TEXTURE_BIT | GL_ENABLE_BIT | GL_LIGHTING_BIT);
    glDisable(GL_COLOR_MATERIAL);
    bindVertexArrays(fi);
    for (int si = 0; si < file(fi)->sc; ++si) drawSurface(fi, si);
    glPopAttrib();
    glPopClientAttrib();
}

void drawTangentFrames(int fi, float length) {
    OBJ_CHECK(0 <= fi && fi < fc);
    probeGlExtensions();
    makeVertexBuffer(fi);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glEnable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    const ObjFile* f = file(fi);
    for (int vi = 0; vi < f->vc; ++vi) {
        const float* p = f->vertices[vi].position;
        const float* u = f->vertices[vi].tangent;
        const float* n = f->vertices[vi].normal;
        // The second tangent completes the frame; it is not normalised.
        const float y[3] = {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2],
                            n[0] * u[1] - n[1] * u[0]};
        const float* axes[3] = {u, y, n};
        const float colors[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (int axis = 0; axis < 3; ++axis) {
            const float* d = axes[axis];
            glColor3f(colors[axis][0], colors[axis][1], colors[axis][2]);
            glVertex3f(p[0], p[1], p[2]);
            glVertex3f(p[0] + length * d[0], p[1] + length * d[1], p[2] + length * d[2]);
        }
    }
    glEnd();
    glPopAttrib();
}

}  // namespace obj
