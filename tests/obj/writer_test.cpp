// Tests of the OBJ and MTL writer: the exact text for vertices, faces, lines, materials and
// map options, which file gets written for which paths, and a read-write round trip.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "obj/obj.h"
#include "tests/obj/model_files.h"

namespace {

using testsupport::ModelFolder;

// Writes file fi into a fresh folder and returns the OBJ and MTL texts.
struct WrittenText {
    std::string obj;
    std::string mtl;
};

WrittenText writeBoth(int fi) {
    ModelFolder folder;
    std::string objPath = folder.path("out.obj");
    std::string mtlPath = folder.path("out.mtl");
    obj::writeModel(fi, objPath.c_str(), mtlPath.c_str());
    return {ModelFolder::read(objPath), ModelFolder::read(mtlPath)};
}

constexpr const char* kDefaultMaterial =
    "newmtl default\n"
    "Kd   0.80000001   0.80000001   0.80000001\n"
    "Ka   0.20000000   0.20000000   0.20000000\n"
    "Ke   0.00000000   0.00000000   0.00000000\n"
    "Ks   0.00000000   0.00000000   0.00000000\n"
    "Ns   8.00000000\n"
    "d    1.00000000\n";

TEST(WriterTest, NewMaterialIsWrittenWithItsDefaultsAndNoMapLines) {
    int fi = obj::createFile(nullptr);
    obj::createMaterial(fi);
    EXPECT_EQ(writeBoth(fi).mtl, kDefaultMaterial);
}

TEST(WriterTest, VerticesFacesAndLinesUseTheFixedFormats) {
    int fi = obj::createFile(nullptr);
    float positions[3][3] = {{0, 0, 0}, {1, 0, 0}, {-1.5f, 2, 0.25f}};
    for (const auto& p : positions) obj::setVertexPosition(fi, obj::createVertex(fi), p);
    float uv[2] = {0.5f, 1};
    obj::setVertexTexcoord(fi, 2, uv);
    float up[3] = {0, 0, 1};
    obj::setVertexNormal(fi, 1, up);
    int mi = obj::createMaterial(fi);
    obj::setMaterialName(fi, mi, "paint");
    int si = obj::createSurface(fi);
    obj::setSurfaceMaterial(fi, si, mi);
    int triangle[3] = {0, 1, 2};
    obj::setPolygon(fi, si, obj::createPolygon(fi, si), triangle);
    int segment[2] = {2, 0};
    obj::setLine(fi, si, obj::createLine(fi, si), segment);

    ModelFolder folder;
    std::string objPath = folder.path("out.obj");
    obj::writeModel(fi, objPath.c_str(), "lib/out.mtl");
    EXPECT_EQ(ModelFolder::read(objPath),
              "mtllib lib/out.mtl\n"
              "v    0.00000000   0.00000000   0.00000000\n"
              "v    1.00000000   0.00000000   0.00000000\n"
              "v   -1.50000000   2.00000000   0.25000000\n"
              "vt   0.00000000   0.00000000\n"
              "vt   0.00000000   0.00000000\n"
              "vt   0.50000000   1.00000000\n"
              "vn   0.00000000   0.00000000   0.00000000\n"
              "vn   0.00000000   0.00000000   1.00000000\n"
              "vn   0.00000000   0.00000000   0.00000000\n"
              "usemtl paint\n"
              "f 1/1/1 2/2/2 3/3/3\n"
              "l 3/3/3 1/1/1\n");
}

TEST(WriterTest, SurfacesWithoutAUsableMaterialNameAreWrittenUnderDefault) {
    int fi = obj::createFile(nullptr);
    obj::createMaterial(fi);  // unnamed
    for (int material : {-1, 0, 5}) obj::setSurfaceMaterial(fi, obj::createSurface(fi), material);
    WrittenText text = writeBoth(fi);
    EXPECT_EQ(text.obj.substr(text.obj.find('\n') + 1),
              "usemtl default\nusemtl default\nusemtl default\n");
    EXPECT_EQ(text.mtl, kDefaultMaterial);
}

TEST(WriterTest, MapOptionsAppearOnlyWhenTheyDifferFromTheirDefaults) {
    int fi = obj::createFile(nullptr);
    int mi = obj::createMaterial(fi);
    obj::setMaterialName(fi, mi, "maps");
    float offset[3] = {0, 0.25f, 0};
    float scale[3] = {2, 1, 1};
    obj::setMaterialMap(fi, mi, obj::diffuse, "dir/plain.bmp");
    obj::setMaterialMap(fi, mi, obj::ambient, "dir/offset.bmp");
    obj::setMaterialOffset(fi, mi, obj::ambient, offset);
    obj::setMaterialMap(fi, mi, obj::specular, "dir/scale.bmp");
    obj::setMaterialScale(fi, mi, obj::specular, scale);
    obj::setMaterialFlags(fi, mi, obj::specular, obj::MAP_CLAMP);
    obj::setMaterialMap(fi, mi, obj::shininess, "dir/both.bmp");
    obj::setMaterialOffset(fi, mi, obj::shininess, offset);
    obj::setMaterialScale(fi, mi, obj::shininess, scale);
    std::string mtl = writeBoth(fi).mtl;
    EXPECT_EQ(mtl.substr(mtl.find("map_")),
              "map_Kd dir/plain.bmp\n"
              "map_Ka -o 0.000000 0.250000 0.000000 dir/offset.bmp\n"
              "map_Ks -clamp on -s 2.000000 1.000000 1.000000 dir/scale.bmp\n"
              "map_Ns -o 0.000000 0.250000 0.000000 -s 2.000000 1.000000 1.000000 "
              "dir/both.bmp\n");
}

TEST(WriterTest, EachPathIsWrittenOnlyWhenGiven) {
    int fi = obj::createFile(nullptr);
    obj::createMaterial(fi);
    obj::createSurface(fi);
    ModelFolder folder;
    std::string objOnly = folder.path("only.obj");
    std::string mtlOnly = folder.path("only.mtl");
    EXPECT_TRUE(obj::writeModel(fi, objOnly.c_str(), nullptr));
    EXPECT_EQ(ModelFolder::read(objOnly), "usemtl default\n");
    EXPECT_TRUE(obj::writeModel(fi, nullptr, mtlOnly.c_str()));
    EXPECT_EQ(ModelFolder::read(mtlOnly), kDefaultMaterial);
}

TEST(WriterTest, AFailedFileIsReportedWithItsReasonAndTheOtherIsStillWritten) {
    int fi = obj::createFile(nullptr);
    obj::createMaterial(fi);
    ModelFolder folder;
    const std::string mtl = folder.path("second.mtl");
    const char* missingFolder = "/nonexistent/folder/x.obj";
    obj::WriteResult result = obj::writeModel(fi, missingFolder, mtl.c_str());
    EXPECT_FALSE(result);
    EXPECT_EQ(result.failedPath, missingFolder);
    EXPECT_EQ(result.error, ENOENT);
    EXPECT_EQ(ModelFolder::read(mtl), kDefaultMaterial);

    const std::string objPath = folder.path("first.obj");
    result = obj::writeModel(fi, objPath.c_str(), "/dev/full");
    EXPECT_STREQ(result.failedPath, "/dev/full");
    EXPECT_EQ(result.error, ENOSPC);
    EXPECT_EQ(ModelFolder::read(objPath), "mtllib /dev/full\n");
}

TEST(WriterTest, NumbersUseADecimalPointWhateverTheLocale) {
    int fi = obj::createFile(nullptr);
    int mi = obj::createMaterial(fi);
    obj::setMaterialMap(fi, mi, obj::diffuse, "t.bmp");
    float scale[3] = {0.5f, 1, 1};
    obj::setMaterialScale(fi, mi, obj::diffuse, scale);
    testsupport::CommaLocale locale;
    if (!locale.active()) GTEST_SKIP() << "no German locale sources to build one from";
    std::string mtl = writeBoth(fi).mtl;
    EXPECT_EQ(mtl.find(','), std::string::npos) << mtl;
    EXPECT_NE(mtl.find("-s 0.500000 1.000000 1.000000 t.bmp\n"), std::string::npos);
}

TEST(WriterTest, ReadWriteReadWriteGivesTheSameTextTwice) {
    ModelFolder folder;
    folder.write("lib.mtl",
                 "newmtl glass\nKd 0.1 0.2 0.3\nKs 1 1 1\nNs 64\nd 0.25\nmap_Kd -s 2 glass.bmp\n"
                 "newmtl wood\nKa 0.5 0.4 0.3\n");
    folder.write("source.obj",
                 "mtllib lib.mtl\n"
                 "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 0.5 1\n"
                 "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                 "vn 0 0 1\n"
                 "usemtl wood\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"
                 "usemtl wood\nf 3 4 5\n"
                 "s 1\nusemtl glass\nf 1/1 2/2 5/3\nf 2/2 3/3 5/3\nl 1 2 3\n");
    // Relative paths throughout, as a library named by "mtllib" is found beside the model.
    testsupport::InFolder inFolder(folder.folder());
    int first = obj::createFile("source.obj");
    obj::writeModel(first, "first.obj", "first.mtl");
    int second = obj::createFile("first.obj");
    obj::writeModel(second, "second.obj", "first.mtl");

    std::string text = ModelFolder::read("first.obj");
    EXPECT_EQ(ModelFolder::read("second.obj"), text);
    EXPECT_NE(text.find("usemtl glass\nf "), std::string::npos);
    EXPECT_EQ(obj::surfaceCount(second), 3);
    // The map path grows by the model's folder at every read, as the reader joins them.
    EXPECT_NE(ModelFolder::read("first.mtl")
                  .find("map_Kd -s 2.000000 1.000000 1.000000 "
                        "././glass.bmp\n"),
              std::string::npos);
}

// Public models: the written text read back and written again is the same text.
struct PublicModel {
    const char* name;
    int vertices;
    int surfaces;
    int polygons;
};

// Test lists and failure messages name the model.
void PrintTo(const PublicModel& model, std::ostream* out) {
    *out << model.name;
}

class PublicModelTest : public testing::TestWithParam<PublicModel> {};

TEST_P(PublicModelTest, WrittenTextReadsBackToTheSameText) {
    const PublicModel& model = GetParam();
    std::string source =
        std::string(GLIMMER_SOURCE_DIR) + "/tests/data/models/tinyobjloader/" + model.name + ".obj";
    ModelFolder folder;
    testsupport::InFolder inFolder(folder.folder());
    int first = obj::createFile(source.c_str());
    EXPECT_EQ(obj::vertexCount(first), model.vertices);
    EXPECT_EQ(obj::surfaceCount(first), model.surfaces);
    int polygons = 0;
    for (int si = 0; si < obj::surfaceCount(first); ++si) polygons += obj::polygonCount(first, si);
    EXPECT_EQ(polygons, model.polygons);
    obj::writeModel(first, "first.obj", "first.mtl");
    int second = obj::createFile("first.obj");
    obj::writeModel(second, "second.obj", "second.mtl");
    std::string firstText = ModelFolder::read("first.obj");
    std::string secondText = ModelFolder::read("second.obj");
    ASSERT_FALSE(firstText.empty());
    EXPECT_EQ(secondText.substr(secondText.find('\n')), firstText.substr(firstText.find('\n')));
    EXPECT_EQ(ModelFolder::read("second.mtl"), ModelFolder::read("first.mtl"));
}

INSTANTIATE_TEST_SUITE_P(Tinyobjloader, PublicModelTest,
                         testing::Values(PublicModel{"cornell_box", 72, 9, 36},
                                         PublicModel{"issue-162-smoothing-group", 24, 2, 12},
                                         PublicModel{"map-bump", 1022, 2, 400}),
                         [](const testing::TestParamInfo<PublicModel>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (c == '-') c = '_';
                             }
                             return name;
                         });

}  // namespace
