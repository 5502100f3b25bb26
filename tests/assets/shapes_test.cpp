// The frame's building blocks face outwards: with back-face culling on, a face wound towards
// the inside of its part would vanish from view and show the part's back instead.
#include <gtest/gtest.h>

#include "tools/model_generator/shapes.h"

namespace {

using modelgen::Mesh;
using modelgen::Vec3;

Vec3 centroid(const modelgen::Face& face) {
    Vec3 sum;
    for (const modelgen::Corner& c : face.corners) sum = sum + c.position;
    return sum * (1.0f / face.corners.size());
}

// Every face's winding normal points away from the given point inside the part.
void expectFacesPointAwayFrom(const Mesh& mesh, Vec3 inside) {
    ASSERT_FALSE(mesh.faces.empty());
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        const auto& c = mesh.faces[i].corners;
        Vec3 wound = modelgen::cross(c[1].position - c[0].position, c[2].position - c[0].position);
        EXPECT_GT(modelgen::dot(wound, centroid(mesh.faces[i]) - inside), 0) << "face " << i;
    }
}

TEST(ShapesTest, BoxFacesPointAwayFromItsCentre) {
    Mesh mesh;
    modelgen::addBox(mesh, {-1, 2, -3}, {4, 3, 1}, texgen::steelBand, true);
    EXPECT_EQ(mesh.faces.size(), 6u);
    expectFacesPointAwayFrom(mesh, {1.5f, 2.5f, -1});
}

TEST(ShapesTest, BeamFacesPointAwayFromItsMiddleInAnyDirection) {
    const Vec3 ends[][2] = {
        {{0, 0, 0}, {5, 0, 0}}, {{0, 0, 0}, {0, 6, 0}}, {{1, 2, 3}, {-2, 5, 7}}};
    for (const auto& end : ends) {
        Mesh mesh;
        modelgen::addBeam(mesh, end[0], end[1], 0.4f, texgen::paintedBand);
        EXPECT_EQ(mesh.faces.size(), 6u);
        expectFacesPointAwayFrom(mesh, (end[0] + end[1]) * 0.5f);
    }
}

TEST(ShapesTest, CylinderSidesAreSmoothAndItsCapsAreFlatTriangles) {
    Mesh mesh;
    modelgen::addCylinder(mesh, {2, 0, -1}, 0.5f, 10, 12, texgen::paintedBand);
    ASSERT_EQ(mesh.faces.size(), 36u);
    expectFacesPointAwayFrom(mesh, {2, 5, -1});
    int sides = 0, caps = 0;
    for (const modelgen::Face& face : mesh.faces) {
        bool side = face.corners.size() == 4;
        sides += side;
        caps += face.corners.size() == 3;
        EXPECT_EQ(face.smoothing, side ? 1 : 0);
    }
    EXPECT_EQ(sides, 12);
    EXPECT_EQ(caps, 24);
    EXPECT_EQ(mesh.smoothing, 0);  // the caller's group is restored
}

TEST(ShapesTest, FacesTurnedToTheLightAreBrighter) {
    EXPECT_GT(modelgen::brightnessOf({0, 1, 0}), modelgen::brightnessOf({0, 0, -1}));
    EXPECT_GT(modelgen::brightnessOf({0, 0, 1}), modelgen::brightnessOf({0, -1, 0}));
    EXPECT_GE(modelgen::brightnessOf({0, -1, 0}), 0.0f);
    EXPECT_LE(modelgen::brightnessOf(modelgen::normalized({0.35f, 0.75f, 0.55f})), 1.0f);
}

}  // namespace
