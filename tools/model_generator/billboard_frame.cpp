// Geometry of the frame model: two posts on footings, cross bracing, stringers and a back
// panel behind the face, a trim around it, a walkway with railing and ladder below, and four
// goose-neck lamps above. Everything in front of z = 0 stays outside the face's rectangle.
#include "tools/model_generator/billboard_frame.h"

#include "tools/model_generator/shapes.h"

namespace modelgen {

namespace {

using texgen::paintedBand;
using texgen::steelBand;

constexpr float postX = 11, postZ = -3.6f, postRadius = 0.9f, postTop = 31.5f;
constexpr float walkwayY = 7.6f, walkwayFront = 3.2f, railingZ = 3.0f;

void addStructure(Mesh& mesh) {
    for (float x : {-postX, postX}) {
        addCylinder(mesh, {x, 0, postZ}, postRadius, postTop, 20, paintedBand);
        addBox(mesh, {x - 1.6f, -0.3f, postZ - 1.6f}, {x + 1.6f, 0.5f, postZ + 1.6f}, steelBand);
        // Brackets from the post up to the lowest stringer.
        addBeam(mesh, {x, 6, postZ}, {x + (x < 0 ? -7.0f : 7.0f), 12.6f, -2.1f}, 0.5f, paintedBand);
    }
    // Cross bracing between the posts.
    addBeam(mesh, {-postX, 1.5f, postZ}, {postX, 8, postZ}, 0.45f, paintedBand);
    addBeam(mesh, {postX, 1.5f, postZ}, {-postX, 8, postZ}, 0.45f, paintedBand);
    // Stringers that carry the panel, and the walkway's support beam.
    for (float y : {12.6f, 20.0f, 27.4f})
        addBox(mesh, {-22, y - 0.45f, -2.6f}, {22, y + 0.45f, -1.6f}, paintedBand);
    addBox(mesh, {-21, 5.1f, -2.6f}, {21, 5.9f, -1.6f}, paintedBand);
    // The back panel, behind the face.
    addBox(mesh, {-20.5f, 9.5f, -1.6f}, {20.5f, 30.5f, -0.3f}, paintedBand);
}

void addTrim(Mesh& mesh) {
    // Bars around the face, standing a little proud of it but only outside its rectangle.
    addBox(mesh, {-21.2f, faceTop, -1.2f}, {21.2f, 31.2f, 0.4f}, steelBand);
    addBox(mesh, {-21.2f, walkwayY + 0.3f, -1.2f}, {21.2f, faceBottom, 0.4f}, steelBand);
    addBox(mesh, {-21.2f, faceBottom, -1.2f}, {faceLeft, faceTop, 0.4f}, steelBand);
    addBox(mesh, {faceRight, faceBottom, -1.2f}, {21.2f, faceTop, 0.4f}, steelBand);
}

void addWalkway(Mesh& mesh) {
    addBox(mesh, {-21.2f, walkwayY, 0.4f}, {21.2f, walkwayY + 0.3f, walkwayFront}, steelBand);
    // Brackets under the walkway down to its support beam.
    for (float x = -18; x <= 18; x += 9)
        addBeam(mesh, {x, walkwayY, walkwayFront - 0.3f}, {x, 5.5f, -1.6f}, 0.3f, paintedBand);
    // Railing: posts, a top rail and a middle rail, along the front and both ends.
    float railTop = walkwayY + 1.5f;
    for (float x = -21; x <= 21; x += 6)
        addBox(mesh, {x - 0.08f, walkwayY + 0.3f, railingZ - 0.08f},
               {x + 0.08f, railTop, railingZ + 0.08f}, steelBand);
    for (float y : {railTop - 0.08f, walkwayY + 0.9f}) {
        addBeam(mesh, {-21, y, railingZ}, {21, y, railingZ}, 0.14f, steelBand);
        addBeam(mesh, {-21, y, 0.4f}, {-21, y, railingZ}, 0.14f, steelBand);
        addBeam(mesh, {21, y, 0.4f}, {21, y, railingZ}, 0.14f, steelBand);
    }
    // A ladder from the ground up to the walkway, beside the right post.
    float ladderZ = walkwayFront + 0.3f;
    for (float x : {13.0f, 14.0f})
        addBox(mesh, {x - 0.06f, 0, ladderZ - 0.06f}, {x + 0.06f, railTop, ladderZ + 0.06f},
               steelBand);
    for (float y = 0.5f; y < walkwayY; y += 0.6f)
        addBeam(mesh, {13.0f, y, ladderZ}, {14.0f, y, ladderZ}, 0.08f, steelBand);
}

void addLamps(Mesh& mesh, int lampMaterial) {
    for (float x : {-15.0f, -5.0f, 5.0f, 15.0f}) {
        addBeam(mesh, {x, 30.6f, -0.8f}, {x, 32.6f, 0.6f}, 0.22f, steelBand);
        addBeam(mesh, {x, 32.6f, 0.6f}, {x, 32.6f, 3.0f}, 0.22f, steelBand);
        int saved = mesh.material;
        mesh.material = lampMaterial;
        addBox(mesh, {x - 1.3f, 31.9f, 2.6f}, {x + 1.3f, 32.9f, 4.2f}, steelBand, true);
        mesh.material = saved;
    }
}

}  // namespace

Mesh buildBillboardFrame() {
    Mesh mesh;
    mesh.materials = {
        {"steel", {0.25f, 0.25f, 0.27f}, {0.9f, 0.9f, 0.92f}, {0.6f, 0.6f, 0.6f}, {}, 60},
        {"paint", {0.2f, 0.22f, 0.25f}, {0.78f, 0.82f, 0.86f}, {0.2f, 0.2f, 0.2f}, {}, 12},
        {"lamp", {0.3f, 0.3f, 0.3f}, {1, 1, 1}, {0.8f, 0.8f, 0.8f}, {1, 0.9f, 0.7f}, 80},
    };
    mesh.material = 1;
    addStructure(mesh);
    mesh.material = 0;
    addTrim(mesh);
    addWalkway(mesh);
    addLamps(mesh, 2);
    return mesh;
}

}  // namespace modelgen
