// Tests of the post-load pass: removal of what the reader made but nothing used, unit normals,
// tangents, the opaque-first surface order, and sumFaceNormals on a file built by hand.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "obj/obj.h"
#include "obj/obj_internal.h"
#include "obj/vector3.h"
#include "tests/obj/model_files.h"

namespace {

using testsupport::loadModel;

constexpr const char* kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

constexpr const char* kLibrary =
    "newmtl opaque\nKd 1 0 0\n"
    "newmtl glass\nKd 0 1 0\nd 0.5\n"
    "newmtl solid\nKd 0 0 1\nd 1\n"
    "newmtl strange\nd nan\n";

std::array<float, 3> normal(int fi, int vi) {
    std::array<float, 3> n{};
    obj::getVertexNormal(fi, vi, n.data());
    return n;
}

std::string surfaceNames(int fi) {
    std::string names;
    for (int si = 0; si < obj::surfaceCount(fi); ++si) {
        const char* name = obj::getMaterialName(fi, obj::getSurfaceMaterial(fi, si));
        names += std::string(name ? name : "-") + " ";
    }
    return names;
}

TEST(PostLoadTest, FirstFaceAfterUsemtlLeavesOnlyThatMaterialAndSurface) {
    int fi = loadModel(std::string("mtllib lib.mtl\n") + kTriangle + "usemtl glass\nf 1 2 3\n",
                       kLibrary);
    ASSERT_EQ(obj::materialCount(fi), 1);
    ASSERT_EQ(obj::surfaceCount(fi), 1);
    EXPECT_STREQ(obj::getMaterialName(fi, 0), "glass");
    EXPECT_EQ(obj::getSurfaceMaterial(fi, 0), 0);
}

TEST(PostLoadTest, UsemtlWithoutFacesLeavesNoSurfaceOrMaterialBehind) {
    int fi = loadModel(std::string("mtllib lib.mtl\n") + kTriangle +
                           "f 1 2 3\nusemtl opaque\nusemtl glass\nf 1 2 3\n",
                       kLibrary);
    ASSERT_EQ(obj::surfaceCount(fi), 2);
    ASSERT_EQ(obj::materialCount(fi), 2);
    EXPECT_EQ(surfaceNames(fi), "- glass ");
    EXPECT_EQ(obj::getSurfaceMaterial(fi, 1), 1);
}

TEST(PostLoadTest, NormalsFromTheFileEndAtUnitLength) {
    int fi = loadModel(std::string(kTriangle) + "vn 0 2 0\nvn 3 0 4\nf 1//1 2//2 3//2\n");
    EXPECT_EQ(normal(fi, 0), (std::array<float, 3>{0, 1, 0}));
    EXPECT_EQ(normal(fi, 1), (std::array<float, 3>{0.6f, 0, 0.8f}));
}

TEST(PostLoadTest, TangentFollowsTheFirstTextureAxis) {
    int fi = loadModel(std::string(kTriangle) + "vt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\n" +
                       "f 1/1/1 2/2/1 3/3/1\n");
    ASSERT_EQ(obj::vertexCount(fi), 3);
    for (int vi = 0; vi < 3; ++vi) {
        const float* tangent = obj::file(fi)->vertices[vi].tangent;
        EXPECT_EQ((std::array<float, 3>{tangent[0], tangent[1], tangent[2]}),
                  (std::array<float, 3>{1, 0, 0}));
    }
}

TEST(PostLoadTest, TangentIsMadePerpendicularToTheNormalAndZeroNeverBecomesNaN) {
    // The normal leans towards the texture's u axis; the tangent loses that part.
    int leaning = loadModel(std::string(kTriangle) + "vt 0 0\nvt 1 0\nvt 0 1\nvn 1 0 1\n" +
                            "f 1/1/1 2/2/1 3/3/1\n");
    const float* t = obj::file(leaning)->vertices[0].tangent;
    float half = std::sqrt(0.5f);
    EXPECT_NEAR(t[0], half, 1e-6);
    EXPECT_NEAR(t[1], 0, 1e-6);
    EXPECT_NEAR(t[2], -half, 1e-6);
    // No texture coordinates and no normals: nothing has a direction, and stays zero.
    int flat = loadModel(std::string(kTriangle) + "f 1 2 3\n");
    for (int vi = 0; vi < 3; ++vi) {
        const obj::ObjVertex& vertex = obj::file(flat)->vertices[vi];
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(vertex.tangent[i], 0);
            EXPECT_EQ(vertex.normal[i], 0);
        }
    }
}

TEST(PostLoadTest, SurfacesAreOrderedOpaqueFirstByTheExchangeProcedure) {
    int fi = loadModel(std::string("mtllib lib.mtl\n") + kTriangle +
                           "usemtl opaque\nf 1 2 3\nusemtl glass\nf 1 2 3\n"
                           "usemtl solid\nf 1 2 3\n",
                       kLibrary);
    EXPECT_EQ(surfaceNames(fi), "opaque solid glass ");
}

// A file of surfaces whose materials have the given opacities (one material each).
int fileWithOpacities(const std::vector<float>& opacities) {
    int fi = obj::createFile(nullptr);
    for (std::size_t k = 0; k < opacities.size(); ++k) {
        int mi = obj::createMaterial(fi);
        float color[4] = {0.8f, 0.8f, 0.8f, opacities[k]};
        obj::setMaterialColor(fi, mi, obj::diffuse, color);
        obj::setMaterialName(fi, mi, std::to_string(k).c_str());
        obj::setSurfaceMaterial(fi, obj::createSurface(fi), mi);
    }
    return fi;
}

TEST(PostLoadTest, ExchangeOrderIsNotStableAndLeavesNaNInPlace) {
    // Position 0 takes the 1.0 from position 2 and hands its 0.5 back there.
    int fi = fileWithOpacities({0.5f, 0.5f, 1.0f, NAN, 0.25f});
    obj::finishFile(fi);
    EXPECT_EQ(surfaceNames(fi), "2 1 0 3 4 ");
}

TEST(PostLoadTest, ManySurfacesEndSortedWithNaNSurfacesUnmoved) {
    constexpr int kSurfaces = 9000;
    std::vector<float> opacities;
    for (int k = 0; k < kSurfaces; ++k) opacities.push_back(static_cast<float>(k % 7) / 7.0f);
    opacities[100] = NAN;
    int fi = fileWithOpacities(opacities);
    obj::finishFile(fi);
    float previous = 2;
    for (int si = 0; si < kSurfaces; ++si) {
        float color[4];
        obj::getMaterialColor(fi, obj::getSurfaceMaterial(fi, si), obj::diffuse, color);
        if (si == 100) {
            EXPECT_TRUE(std::isnan(color[3]));
            continue;
        }
        ASSERT_LE(color[3], previous) << "surface " << si;
        previous = color[3];
    }
}

TEST(PostLoadTest, SumFaceNormalsAddsTheTriangleNormalToEachCorner) {
    int fi = obj::createFile(nullptr);
    float positions[3][3] = {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}};
    float start[3] = {1, 0, 0};
    for (const auto& p : positions) {
        int vi = obj::createVertex(fi);
        obj::setVertexPosition(fi, vi, p);
        obj::setVertexNormal(fi, vi, start);
    }
    int si = obj::createSurface(fi);
    int corners[3] = {0, 1, 2};
    obj::setPolygon(fi, si, obj::createPolygon(fi, si), corners);
    // A polygon naming a vertex that does not exist is passed over.
    int broken[3] = {0, 1, 7};
    obj::setPolygon(fi, si, obj::createPolygon(fi, si), broken);
    obj::sumFaceNormals(fi);
    for (int vi = 0; vi < 3; ++vi) EXPECT_EQ(normal(fi, vi), (std::array<float, 3>{1, 0, 1}));
}

TEST(PostLoadTest, NormalizingKeepsUnitVectorsAndZeroesVectorsWithoutDirection) {
    float unit[3] = {0.6f, 0.8f, 0};
    obj::normalize3(unit);
    EXPECT_EQ(unit[0], 0.6f);
    float tiny[3] = {0, 1e-30f, 0};
    obj::normalize3(tiny);
    EXPECT_EQ(tiny[1], 1.0f);
    float huge[3] = {3e30f, 0, 4e30f};
    obj::normalize3(huge);
    EXPECT_NEAR(huge[0], 0.6f, 1e-7);
    float directionless[3][3] = {{0, 0, 0}, {NAN, 1, 0}, {INFINITY, 0, 0}};
    for (float* v : directionless) {
        obj::normalize3(v);
        EXPECT_EQ((std::array<float, 3>{v[0], v[1], v[2]}), (std::array<float, 3>{0, 0, 0}));
    }
}

}  // namespace
