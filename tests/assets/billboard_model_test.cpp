// The committed frame model read by the program's own model reader: everything the generator
// built arrives as triangles in its materials, with texture coordinates and unit normals.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "obj/obj.h"
#include "tools/model_generator/billboard_frame.h"

namespace {

TEST(BillboardModelTest, ReaderLoadsEveryTriangleOfTheFrame) {
    int fi = obj::createFile("./Models/billboard.obj");
    ASSERT_GE(fi, 0);
    int triangles = 0, lines = 0;
    std::set<std::string> names;
    for (int si = 0; si < obj::surfaceCount(fi); ++si) {
        triangles += obj::polygonCount(fi, si);
        lines += obj::lineCount(fi, si);
        int mi = obj::getSurfaceMaterial(fi, si);
        ASSERT_GE(mi, 0);
        ASSERT_LT(mi, obj::materialCount(fi));
        if (const char* name = obj::getMaterialName(fi, mi)) names.insert(name);
    }
    modelgen::Mesh mesh = modelgen::buildBillboardFrame();
    EXPECT_EQ(triangles, mesh.triangleCount());
    EXPECT_GE(triangles, 300);
    EXPECT_EQ(lines, 0);
    for (const modelgen::Material& material : mesh.materials)
        EXPECT_TRUE(names.count(material.name)) << material.name << " was not read";
    obj::deleteFile(fi);
}

TEST(BillboardModelTest, VerticesKeepTheirTextureCoordinatesAndUnitNormals) {
    int fi = obj::createFile("./Models/billboard.obj");
    ASSERT_GE(fi, 0);
    ASSERT_GT(obj::vertexCount(fi), 0);
    float lowestT = 1, highestT = 0;
    for (int vi = 0; vi < obj::vertexCount(fi); ++vi) {
        float normal[3], texcoord[2];
        obj::getVertexNormal(fi, vi, normal);
        obj::getVertexTexcoord(fi, vi, texcoord);
        float length =
            std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
        EXPECT_NEAR(length, 1, 1e-3) << "vertex " << vi;
        lowestT = std::min(lowestT, texcoord[1]);
        highestT = std::max(highestT, texcoord[1]);
    }
    // The shading spreads over the metal picture's bands, not one row of it.
    EXPECT_LT(lowestT, 0.2f);
    EXPECT_GT(highestT, 0.85f);
    obj::deleteFile(fi);
}

}  // namespace
