// Tests of the model store through its public operations: growth, material defaults,
// deletions with renumbering, index tests with their texts, and allocation failure. No test
// here opens a GL context: a store without textures or buffers must not need one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "obj/obj.h"
#include "obj/obj_internal.h"

namespace {

// A death-test pattern that matches text literally.
std::string literally(const std::string& text) {
    std::string pattern;
    for (char c : text) {
        if (std::string("()[]{}.*+?^$|\\").find(c) != std::string::npos) pattern += '\\';
        pattern += c;
    }
    return pattern;
}

void* failingRealloc(void*, std::size_t) {
    return nullptr;
}

class StoreTest : public testing::Test {
  protected:
    void SetUp() override {
        fi = obj::createFile(nullptr);
        ASSERT_GE(fi, 0);
    }
    void TearDown() override {
        obj::setAllocationHook(nullptr);
        while (obj::fileCount() > 0) obj::deleteFile(obj::fileCount() - 1);
    }

    // A surface of material mi with one triangle (a, b, c).
    int addTriangleSurface(int mi, int a, int b, int c) {
        int si = obj::createSurface(fi);
        obj::setSurfaceMaterial(fi, si, mi);
        int pi = obj::createPolygon(fi, si);
        const int corners[3] = {a, b, c};
        obj::setPolygon(fi, si, pi, corners);
        return si;
    }

    int fi = -1;
};

// However an array grows, a caller sees the next index handed out and every earlier record
// kept; emptied and filled again, it starts over at 0 with a cleared record.
TEST_F(StoreTest, VerticesKeepTheirValuesWhileTheArrayGrows) {
    constexpr int kCount = 100;
    for (int vi = 0; vi < kCount; ++vi) {
        ASSERT_EQ(obj::createVertex(fi), vi);
        const float position[3] = {float(vi), -float(vi), 0.5f};
        obj::setVertexPosition(fi, vi, position);
    }
    EXPECT_EQ(obj::vertexCount(fi), kCount);
    for (int vi = 0; vi < kCount; ++vi) {
        float position[3];
        obj::getVertexPosition(fi, vi, position);
        EXPECT_EQ(position[0], float(vi));
        EXPECT_EQ(position[1], -float(vi));
    }
    while (obj::vertexCount(fi) > 0) obj::deleteVertex(fi, 0);
    EXPECT_EQ(obj::createVertex(fi), 0);
    float position[3] = {1, 1, 1};
    obj::getVertexPosition(fi, 0, position);
    for (float c : position) EXPECT_EQ(c, 0.0f);
}

TEST_F(StoreTest, EveryArrayHandsOutIndicesInOrderAndKeepsItsRecords) {
    constexpr int kCount = 9;
    const int si = obj::createSurface(fi);
    for (int n = 0; n < kCount; ++n) {
        ASSERT_EQ(obj::createMaterial(fi), n);
        obj::setMaterialName(fi, n, std::to_string(n).c_str());
        ASSERT_EQ(obj::createSurface(fi), n + 1);
        obj::setSurfaceMaterial(fi, n + 1, n);
        const int corners[3] = {n, n + 1, n + 2};
        ASSERT_EQ(obj::createPolygon(fi, si), n);
        obj::setPolygon(fi, si, n, corners);
        const int ends[2] = {n, -n};
        ASSERT_EQ(obj::createLine(fi, si), n);
        obj::setLine(fi, si, n, ends);
    }
    EXPECT_EQ(obj::materialCount(fi), kCount);
    EXPECT_EQ(obj::surfaceCount(fi), kCount + 1);
    EXPECT_EQ(obj::polygonCount(fi, si), kCount);
    EXPECT_EQ(obj::lineCount(fi, si), kCount);
    for (int n = 0; n < kCount; ++n) {
        EXPECT_STREQ(obj::getMaterialName(fi, n), std::to_string(n).c_str());
        EXPECT_EQ(obj::getSurfaceMaterial(fi, n + 1), n);
        int corners[3];
        obj::getPolygon(fi, si, n, corners);
        EXPECT_EQ(corners[2], n + 2);
        int ends[2];
        obj::getLine(fi, si, n, ends);
        EXPECT_EQ(ends[1], -n);
    }
}

TEST_F(StoreTest, NewMaterialHasTheLightingDefaults) {
    int mi = obj::createMaterial(fi);
    ASSERT_EQ(mi, 0);
    const float expected[5][4] = {{0.8f, 0.8f, 0.8f, 1.0f},
                                  {0.2f, 0.2f, 0.2f, 1.0f},
                                  {0.0f, 0.0f, 0.0f, 1.0f},
                                  {0.0f, 0.0f, 0.0f, 1.0f},
                                  {8.0f, 0.0f, 0.0f, 0.0f}};
    for (int ki = 0; ki < obj::kindCount; ++ki) {
        float color[4];
        float offset[3];
        float scale[3];
        obj::getMaterialColor(fi, mi, ki, color);
        obj::getMaterialOffset(fi, mi, ki, offset);
        obj::getMaterialScale(fi, mi, ki, scale);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(color[k], expected[ki][k]) << ki << " " << k;
        for (int k = 0; k < 3; ++k) EXPECT_EQ(offset[k], 0.0f);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(scale[k], 1.0f);
        EXPECT_EQ(obj::getMaterialFlags(fi, mi, ki), 0);
        EXPECT_EQ(obj::getMaterialTexture(fi, mi, ki), 0u);
        EXPECT_EQ(obj::file(fi)->materials[mi].maps[ki].path, nullptr);
    }
    EXPECT_EQ(obj::getMaterialName(fi, mi), nullptr);
}

TEST_F(StoreTest, SlotAccessorsCopyInAndOut) {
    int mi = obj::createMaterial(fi);
    const float color[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    const float offset[3] = {0.5f, 0.0f, -1.0f};
    const float scale[3] = {2.0f, 3.0f, 4.0f};
    obj::setMaterialColor(fi, mi, obj::specular, color);
    obj::setMaterialOffset(fi, mi, obj::ambient, offset);
    obj::setMaterialScale(fi, mi, obj::shininess, scale);
    obj::setMaterialFlags(fi, mi, obj::diffuse, obj::MAP_CLAMP);
    float readColor[4];
    float readOffset[3];
    float readScale[3];
    obj::getMaterialColor(fi, mi, obj::specular, readColor);
    obj::getMaterialOffset(fi, mi, obj::ambient, readOffset);
    obj::getMaterialScale(fi, mi, obj::shininess, readScale);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(readColor[k], color[k]);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(readOffset[k], offset[k]);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(readScale[k], scale[k]);
    EXPECT_EQ(obj::getMaterialFlags(fi, mi, obj::diffuse), obj::MAP_CLAMP);
    EXPECT_EQ(obj::getMaterialFlags(fi, mi, obj::ambient), 0);
}

TEST_F(StoreTest, MaterialNameIsAPrivateCopyAndNullClearsIt) {
    int mi = obj::createMaterial(fi);
    char name[] = "chrome";
    obj::setMaterialName(fi, mi, name);
    name[0] = 'X';
    EXPECT_STREQ(obj::getMaterialName(fi, mi), "chrome");
    obj::setMaterialName(fi, mi, "steel");
    EXPECT_STREQ(obj::getMaterialName(fi, mi), "steel");
    obj::setMaterialName(fi, mi, nullptr);
    EXPECT_EQ(obj::getMaterialName(fi, mi), nullptr);
}

TEST_F(StoreTest, DeletingAMaterialDeletesItsSurfacesAndRenumbersLaterOnes) {
    for (int n = 0; n < 3; ++n) obj::createMaterial(fi);
    obj::setMaterialName(fi, 2, "last");
    addTriangleSurface(0, 0, 0, 0);
    addTriangleSurface(1, 1, 1, 1);
    addTriangleSurface(2, 2, 2, 2);
    addTriangleSurface(1, 3, 3, 3);
    addTriangleSurface(2, 4, 4, 4);
    obj::deleteMaterial(fi, 1);
    EXPECT_EQ(obj::materialCount(fi), 2);
    EXPECT_STREQ(obj::getMaterialName(fi, 1), "last");
    ASSERT_EQ(obj::surfaceCount(fi), 3);
    int expectedFirst[3] = {0, 2, 4};
    int expectedMaterial[3] = {0, 1, 1};
    for (int si = 0; si < 3; ++si) {
        int corners[3];
        obj::getPolygon(fi, si, 0, corners);
        EXPECT_EQ(corners[0], expectedFirst[si]);
        EXPECT_EQ(obj::getSurfaceMaterial(fi, si), expectedMaterial[si]);
    }
}

TEST_F(StoreTest, DeletingAVertexDropsWhatUsedItAndRenumbersHigherIndices) {
    for (int n = 0; n < 8; ++n) {
        int vi = obj::createVertex(fi);
        const float position[3] = {float(n), 0.0f, 0.0f};
        obj::setVertexPosition(fi, vi, position);
    }
    int first = addTriangleSurface(0, 0, 1, 2);
    const int uses5[3] = {4, 5, 6};
    const int above5[3] = {6, 7, 3};
    obj::setPolygon(fi, first, obj::createPolygon(fi, first), uses5);
    obj::setPolygon(fi, first, obj::createPolygon(fi, first), above5);
    int second = addTriangleSurface(0, 5, 6, 7);
    const int segmentUses5[2] = {5, 1};
    const int segmentAbove5[2] = {7, 6};
    obj::setLine(fi, second, obj::createLine(fi, second), segmentUses5);
    obj::setLine(fi, second, obj::createLine(fi, second), segmentAbove5);

    obj::deleteVertex(fi, 5);

    EXPECT_EQ(obj::vertexCount(fi), 7);
    float position[3];
    obj::getVertexPosition(fi, 5, position);
    EXPECT_EQ(position[0], 6.0f);
    ASSERT_EQ(obj::polygonCount(fi, first), 2);
    int corners[3];
    obj::getPolygon(fi, first, 0, corners);
    EXPECT_EQ(corners[0], 0);
    EXPECT_EQ(corners[2], 2);
    obj::getPolygon(fi, first, 1, corners);
    EXPECT_EQ(corners[0], 5);
    EXPECT_EQ(corners[1], 6);
    EXPECT_EQ(corners[2], 3);
    EXPECT_EQ(obj::polygonCount(fi, second), 0);
    ASSERT_EQ(obj::lineCount(fi, second), 1);
    int ends[2];
    obj::getLine(fi, second, 0, ends);
    EXPECT_EQ(ends[0], 6);
    EXPECT_EQ(ends[1], 5);
    EXPECT_EQ(obj::file(fi)->vbo, 0u);
}

TEST_F(StoreTest, VertexAttributesReadBackAndStartAtZero) {
    int vi = obj::createVertex(fi);
    float position[3] = {1, 1, 1};
    obj::getVertexPosition(fi, vi, position);
    EXPECT_EQ(position[0], 0.0f);
    const float p[3] = {1.5f, -2.0f, 3.0f};
    const float t[2] = {0.25f, 0.75f};
    const float n[3] = {0.0f, 1.0f, 0.0f};
    obj::setVertexPosition(fi, vi, p);
    obj::setVertexTexcoord(fi, vi, t);
    obj::setVertexNormal(fi, vi, n);
    float readT[2];
    float readN[3];
    obj::getVertexPosition(fi, vi, position);
    obj::getVertexTexcoord(fi, vi, readT);
    obj::getVertexNormal(fi, vi, readN);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(position[k], p[k]);
    for (int k = 0; k < 2; ++k) EXPECT_EQ(readT[k], t[k]);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(readN[k], n[k]);
    const obj::ObjVertex& stored = obj::file(fi)->vertices[vi];
    EXPECT_EQ(stored.position[1], -2.0f);
    EXPECT_EQ(stored.texcoord[1], 0.75f);
}

TEST_F(StoreTest, DeletingAFileMovesLaterFilesDown) {
    int second = obj::createFile(nullptr);
    ASSERT_EQ(second, fi + 1);
    obj::createVertex(second);
    obj::createVertex(second);
    obj::createMaterial(fi);
    obj::deleteFile(fi);
    EXPECT_EQ(obj::fileCount(), second);
    EXPECT_EQ(obj::vertexCount(fi), 2);
    EXPECT_EQ(obj::materialCount(fi), 0);
}

TEST_F(StoreTest, DeletingPolygonsLinesAndSurfacesMovesLaterOnesDown) {
    int si = obj::createSurface(fi);
    for (int n = 0; n < 3; ++n) {
        const int corners[3] = {n, n, n};
        const int ends[2] = {n, n};
        obj::setPolygon(fi, si, obj::createPolygon(fi, si), corners);
        obj::setLine(fi, si, obj::createLine(fi, si), ends);
    }
    obj::deletePolygon(fi, si, 0);
    obj::deleteLine(fi, si, 1);
    int corners[3];
    int ends[2];
    obj::getPolygon(fi, si, 0, corners);
    obj::getLine(fi, si, 1, ends);
    EXPECT_EQ(corners[0], 1);
    EXPECT_EQ(ends[0], 2);
    EXPECT_EQ(obj::polygonCount(fi, si), 2);
    EXPECT_EQ(obj::lineCount(fi, si), 2);
    int later = obj::createSurface(fi);
    obj::setSurfaceMaterial(fi, later, 7);
    obj::deleteSurface(fi, si);
    EXPECT_EQ(obj::surfaceCount(fi), 1);
    EXPECT_EQ(obj::getSurfaceMaterial(fi, 0), 7);
    EXPECT_EQ(obj::polygonCount(fi, 0), 0);
}

TEST_F(StoreTest, SettersAcceptAnyIndexValues) {
    int si = obj::createSurface(fi);
    obj::setSurfaceMaterial(fi, si, -3);
    EXPECT_EQ(obj::getSurfaceMaterial(fi, si), -3);
    const int corners[3] = {99, -1, 1000000};
    obj::setPolygon(fi, si, obj::createPolygon(fi, si), corners);
    int read[3];
    obj::getPolygon(fi, si, 0, read);
    EXPECT_EQ(read[1], -1);
    EXPECT_EQ(read[2], 1000000);
}

// With memory refused, creates go on only while their array has room left; the first one
// that needs memory returns -1 and changes nothing, and with memory back the next one
// carries on from there.
TEST_F(StoreTest, ACreateThatGetsNoMemoryReturnsMinusOneAndChangesNothing) {
    const int si = obj::createSurface(fi);
    struct Array {
        const char* name;
        std::function<int()> create;
        std::function<int()> count;
    };
    const Array arrays[] = {
        {"files", [] { return obj::createFile(nullptr); }, [] { return obj::fileCount(); }},
        {"materials", [&] { return obj::createMaterial(fi); },
         [&] { return obj::materialCount(fi); }},
        {"vertices", [&] { return obj::createVertex(fi); }, [&] { return obj::vertexCount(fi); }},
        {"surfaces", [&] { return obj::createSurface(fi); }, [&] { return obj::surfaceCount(fi); }},
        {"polygons", [&] { return obj::createPolygon(fi, si); },
         [&] { return obj::polygonCount(fi, si); }},
        {"lines", [&] { return obj::createLine(fi, si); }, [&] { return obj::lineCount(fi, si); }},
    };
    for (const Array& array : arrays) {
        SCOPED_TRACE(array.name);
        obj::setAllocationHook(failingRealloc);
        int room = 0;
        while (room < 1024 && array.create() >= 0) ++room;
        const int count = array.count();
        EXPECT_EQ(array.create(), -1);
        EXPECT_EQ(array.count(), count);
        obj::setAllocationHook(nullptr);
        EXPECT_EQ(array.create(), count);
    }
}

TEST_F(StoreTest, ANameThatCannotBeCopiedLeavesTheMaterialUnnamed) {
    int mi = obj::createMaterial(fi);
    obj::setMaterialName(fi, mi, "old");
    obj::setAllocationHook(failingRealloc);
    obj::setMaterialName(fi, mi, "new");
    obj::setAllocationHook(nullptr);
    EXPECT_EQ(obj::getMaterialName(fi, mi), nullptr);
}

using StoreDeathTest = StoreTest;

TEST_F(StoreDeathTest, EachIndexTestEndsTheProgramWithItsText) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    int mi = obj::createMaterial(fi);
    int si = obj::createSurface(fi);
    obj::createVertex(fi);
    EXPECT_DEATH(obj::materialCount(fi + 1), literally("0 <= fi && fi < fc"));
    EXPECT_DEATH(obj::deleteFile(-1), literally("0 <= fi && fi < fc"));
    EXPECT_DEATH(obj::getMaterialName(fi, 1), literally("0 <= mi && mi < file(fi)->mc"));
    EXPECT_DEATH(obj::setMaterialFlags(fi, mi, 5, 0), literally("0 <= ki && ki < 5"));
    EXPECT_DEATH(obj::getMaterialTexture(fi, mi, -1), literally("0 <= ki && ki < 5"));
    EXPECT_DEATH(obj::deleteVertex(fi, 1), literally("0 <= vi && vi < file(fi)->vc"));
    EXPECT_DEATH(obj::getSurfaceMaterial(fi, 1), literally("0 <= si && si < file(fi)->sc"));
    EXPECT_DEATH(obj::deletePolygon(fi, si, 0), literally("0 <= pi && pi < surf(fi, si)->pc"));
    EXPECT_DEATH(obj::getLine(fi, si, 0, nullptr), literally("0 <= li && li < surf(fi, si)->lc"));
}

TEST_F(StoreDeathTest, TheFirstFailingTestInArgumentOrderIsReported) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    // Every index is bad; the file test comes first, then material, then slot.
    EXPECT_DEATH(obj::setMaterialColor(fi + 5, 3, 9, nullptr), literally("0 <= fi && fi < fc"));
    EXPECT_DEATH(obj::setMaterialColor(fi, 3, 9, nullptr),
                 literally("0 <= mi && mi < file(fi)->mc"));
    EXPECT_DEATH(obj::getPolygon(fi, 2, 9, nullptr), literally("0 <= si && si < file(fi)->sc"));
}

}  // namespace
