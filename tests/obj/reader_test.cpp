// Tests of the OBJ and MTL reader through createFile on real files: corner resolution and
// vertex sharing, triangulation, smoothing-group normals, polylines, materials and maps,
// and the awkward inputs (long lines, CRLF, bad indices, missing libraries).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>

#include "obj/obj.h"
#include "obj/reader.h"
#include "tests/obj/model_files.h"

namespace {

using testsupport::loadModel;
using testsupport::ModelFolder;

std::array<float, 3> position(int fi, int vi) {
    std::array<float, 3> p{};
    obj::getVertexPosition(fi, vi, p.data());
    return p;
}

std::array<float, 3> normal(int fi, int vi) {
    std::array<float, 3> n{};
    obj::getVertexNormal(fi, vi, n.data());
    return n;
}

std::array<float, 2> texcoord(int fi, int vi) {
    std::array<float, 2> t{};
    obj::getVertexTexcoord(fi, vi, t.data());
    return t;
}

std::array<int, 3> polygon(int fi, int si, int pi) {
    std::array<int, 3> p{};
    obj::getPolygon(fi, si, pi, p.data());
    return p;
}

std::array<float, 4> color(int fi, int mi, int ki) {
    std::array<float, 4> c{};
    obj::getMaterialColor(fi, mi, ki, c.data());
    return c;
}

constexpr const char* kSquare =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\n";

TEST(ReaderTest, QuadFaceBecomesTwoFanTrianglesOverFourVertices) {
    int fi = loadModel(std::string(kSquare) + "vn 0 0 1\nvn 0 0 1\nvn 0 0 1\n" +
                       "f 1/1/1 2/2/2 3/3/3 4/4/4\n");
    ASSERT_EQ(obj::surfaceCount(fi), 1);
    EXPECT_EQ(obj::vertexCount(fi), 4);
    ASSERT_EQ(obj::polygonCount(fi, 0), 2);
    EXPECT_EQ(polygon(fi, 0, 0), (std::array<int, 3>{0, 1, 2}));
    EXPECT_EQ(polygon(fi, 0, 1), (std::array<int, 3>{0, 2, 3}));
    EXPECT_EQ(position(fi, 2), (std::array<float, 3>{1, 1, 0}));
    EXPECT_EQ(texcoord(fi, 3), (std::array<float, 2>{0, 1}));
}

TEST(ReaderTest, NegativeIndicesCountBackFromTheNewestEntry) {
    int fi = loadModel("v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nf -4 -3 -2\n");
    ASSERT_EQ(obj::vertexCount(fi), 3);
    EXPECT_EQ(position(fi, 0)[0], 1);
    EXPECT_EQ(position(fi, 1)[0], 2);
    EXPECT_EQ(position(fi, 2)[0], 3);
}

TEST(ReaderTest, IndicesOfTexcoordsAndNormalsDefinedOnlyLaterGiveNone) {
    int fi = loadModel("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/1/1 2/1/1 3/1/1\nvt 0.5 0.5\nvn 0 0 1\n");
    ASSERT_EQ(obj::vertexCount(fi), 3);
    for (int vi = 0; vi < 3; ++vi) {
        EXPECT_EQ(texcoord(fi, vi), (std::array<float, 2>{0, 0}));
        EXPECT_EQ(normal(fi, vi), (std::array<float, 3>{0, 0, 0}));
    }
}

TEST(ReaderTest, NormalOnlyCornersGetTheNormalAndZeroTexcoords) {
    int fi = loadModel(std::string(kSquare) + "f 1//1 2//1 3//1\n");
    ASSERT_EQ(obj::vertexCount(fi), 3);
    for (int vi = 0; vi < 3; ++vi) {
        EXPECT_EQ(normal(fi, vi), (std::array<float, 3>{0, 0, 1}));
        EXPECT_EQ(texcoord(fi, vi), (std::array<float, 2>{0, 0}));
    }
}

TEST(ReaderTest, FacesWithIdenticalCornersShareVerticesAndDifferentTexcoordsDoNot) {
    int shared = loadModel(std::string(kSquare) + "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n");
    EXPECT_EQ(obj::vertexCount(shared), 4);
    int apart = loadModel(std::string(kSquare) + "f 1/1/1 2/2/1 3/3/1\nf 1/2/1 3/4/1 4/4/1\n");
    EXPECT_EQ(obj::vertexCount(apart), 6);
}

TEST(ReaderTest, ReturningToAnEarlierTexcoordStartsAnotherVertex) {
    // Position 1 with texcoords 1, 2, then 1 again: the first corner was cut off the list.
    int fi = loadModel(std::string(kSquare) + "f 1/1 2/2 3/3\nf 1/2 3/3 4/4\nf 1/1 4/4 2/2\n");
    int atOrigin = 0;
    for (int vi = 0; vi < obj::vertexCount(fi); ++vi) {
        if (position(fi, vi) == std::array<float, 3>{0, 0, 0}) ++atOrigin;
    }
    EXPECT_EQ(atOrigin, 3);
}

// Two triangles meeting at the edge from (0,0,0) to (1,0,0): one in the x-y plane facing +z,
// one in the x-z plane facing +y.
constexpr const char* kHinge =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\n"
    "f 1 2 3\nf 1 4 2\n";

TEST(ReaderTest, SmoothingGroupAddsFaceNormalsAtSharedPositions) {
    int fi = loadModel(std::string("s 1\n") + kHinge);
    ASSERT_EQ(obj::vertexCount(fi), 4);
    // The shared corner sums (0,0,1) and (0,1,0); loading ends with the unit sum.
    float half = std::sqrt(0.5f);
    std::array<float, 3> n = normal(fi, 0);
    EXPECT_NEAR(n[0], 0, 1e-6);
    EXPECT_NEAR(n[1], half, 1e-6);
    EXPECT_NEAR(n[2], half, 1e-6);
    EXPECT_EQ(normal(fi, 2), (std::array<float, 3>{0, 0, 1}));
}

TEST(ReaderTest, GroupZeroLeavesNormalsAtZeroAndDifferentGroupsNeverShare) {
    int off = loadModel(std::string("s off\n") + kHinge);
    for (int vi = 0; vi < obj::vertexCount(off); ++vi) {
        EXPECT_EQ(normal(off, vi), (std::array<float, 3>{0, 0, 0}));
    }
    int split = loadModel("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\ns 1\nf 1 2 3\ns 2\nf 1 4 2\n");
    EXPECT_EQ(obj::vertexCount(split), 6);
}

TEST(ReaderTest, PolylineMakesOneSegmentPerPairAndASingleCornerNone) {
    int fi = loadModel("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nl 1 2 3\nl 5\n");
    ASSERT_EQ(obj::surfaceCount(fi), 1);
    ASSERT_EQ(obj::lineCount(fi, 0), 2);
    std::array<int, 2> second{};
    obj::getLine(fi, 0, 1, second.data());
    EXPECT_EQ(second, (std::array<int, 2>{1, 2}));
    EXPECT_EQ(obj::polygonCount(fi, 0), 0);
}

TEST(ReaderTest, LineCornersShareVerticesWithFaceCornersOfTheSamePosition) {
    int fi = loadModel("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nl 1 2\n");
    EXPECT_EQ(obj::vertexCount(fi), 3);
    std::array<int, 2> segment{};
    obj::getLine(fi, 0, 0, segment.data());
    EXPECT_EQ(segment, (std::array<int, 2>{0, 1}));
}

TEST(ReaderTest, CommentAfterTheCornersEndsTheCornerList) {
    int fi = loadModel("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 9 9 9\nf 1 2 3 # 4\n");
    EXPECT_EQ(obj::vertexCount(fi), 3);
    EXPECT_EQ(obj::polygonCount(fi, 0), 1);
}

constexpr const char* kLibrary =
    "newmtl red\nKd 1 0 0\nd 0.5\nNs 32\n"
    "newmtl textured\n"
    "map_Kd -clamp on -s 2 2 -o 0.5 tex.bmp\n"
    "map_Ka -o 1 2 3 -s 4 amb.bmp\n"
    "map_Ks shine.bmp\n";

constexpr const char* kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

TEST(ReaderTest, EveryUsemtlMakesItsOwnMaterialAndSurface) {
    int fi = loadModel(
        std::string("mtllib lib.mtl\n") + kTriangle + "usemtl red\nf 1 2 3\nusemtl red\nf 3 2 1\n",
        kLibrary);
    ASSERT_EQ(obj::materialCount(fi), 2);
    ASSERT_EQ(obj::surfaceCount(fi), 2);
    for (int mi = 0; mi < 2; ++mi) {
        EXPECT_STREQ(obj::getMaterialName(fi, mi), "red");
        EXPECT_EQ(color(fi, mi, obj::diffuse), (std::array<float, 4>{1, 0, 0, 0.5f}));
        EXPECT_EQ(obj::getSurfaceMaterial(fi, mi), mi);
    }
    // Each material owns a copy of its name, which it frees or replaces alone.
    EXPECT_NE(obj::getMaterialName(fi, 0), obj::getMaterialName(fi, 1));
}

TEST(ReaderTest, ColourOpacityAndShininessLinesFillTheirSlots) {
    int fi =
        loadModel(std::string("mtllib lib.mtl\n") + kTriangle + "usemtl red\nf 1 2 3\n", kLibrary);
    ASSERT_EQ(obj::materialCount(fi), 1);
    EXPECT_EQ(color(fi, 0, obj::diffuse), (std::array<float, 4>{1, 0, 0, 0.5f}));
    EXPECT_EQ(color(fi, 0, obj::shininess), (std::array<float, 4>{32, 0, 0, 0}));
    EXPECT_EQ(color(fi, 0, obj::ambient), (std::array<float, 4>{0.2f, 0.2f, 0.2f, 1}));
}

TEST(ReaderTest, MapOptionsSetClampScaleOffsetAndTheJoinedPath) {
    ModelFolder folder;
    folder.write("lib.mtl", kLibrary);
    std::string model = folder.write(
        "model.obj", std::string("mtllib lib.mtl\n") + kTriangle + "usemtl textured\nf 1 2 3\n");
    int fi = obj::createFile(model.c_str());
    ASSERT_EQ(obj::materialCount(fi), 1);
    float scale[3];
    float offset[3];
    obj::getMaterialScale(fi, 0, obj::diffuse, scale);
    obj::getMaterialOffset(fi, 0, obj::diffuse, offset);
    EXPECT_EQ(obj::getMaterialFlags(fi, 0, obj::diffuse), obj::MAP_CLAMP);
    EXPECT_EQ((std::array<float, 3>{scale[0], scale[1], scale[2]}),
              (std::array<float, 3>{2, 2, 1}));
    EXPECT_EQ((std::array<float, 3>{offset[0], offset[1], offset[2]}),
              (std::array<float, 3>{0.5f, 0, 0}));
    EXPECT_EQ(obj::getMaterialTexture(fi, 0, obj::diffuse), 0u);

    obj::getMaterialScale(fi, 0, obj::ambient, scale);
    obj::getMaterialOffset(fi, 0, obj::ambient, offset);
    EXPECT_EQ(obj::getMaterialFlags(fi, 0, obj::ambient), 0);
    EXPECT_EQ((std::array<float, 3>{scale[0], scale[1], scale[2]}),
              (std::array<float, 3>{4, 1, 1}));
    EXPECT_EQ((std::array<float, 3>{offset[0], offset[1], offset[2]}),
              (std::array<float, 3>{1, 2, 3}));

    // The written text shows the stored paths: the model's folder, a slash, the file name.
    std::string written = folder.path("out.mtl");
    obj::writeModel(fi, nullptr, written.c_str());
    std::string text = ModelFolder::read(written);
    EXPECT_NE(text.find("map_Kd -clamp on -o 0.500000 0.000000 0.000000 -s 2.000000 2.000000 "
                        "1.000000 " +
                        folder.folder() + "/tex.bmp\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("map_Ks " + folder.folder() + "/shine.bmp\n"), std::string::npos);
}

TEST(ReaderTest, MissingNameOrLibraryOrUsemtlBeforeMtllibGivesAnUnnamedDefaultMaterial) {
    int unknownName =
        loadModel(std::string("mtllib lib.mtl\n") + kTriangle + "usemtl blue\nf 1 2 3\n", kLibrary);
    int noLibrary =
        loadModel(std::string("mtllib none.mtl\n") + kTriangle + "usemtl red\nf 1 2 3\n");
    int beforeMtllib = loadModel(std::string(kTriangle) + "usemtl red\nf 1 2 3\n", kLibrary);
    for (int fi : {unknownName, noLibrary, beforeMtllib}) {
        ASSERT_EQ(obj::materialCount(fi), 1);
        ASSERT_EQ(obj::surfaceCount(fi), 1);
        EXPECT_EQ(obj::getMaterialName(fi, 0), nullptr);
        EXPECT_EQ(color(fi, 0, obj::diffuse), (std::array<float, 4>{0.8f, 0.8f, 0.8f, 1}));
        EXPECT_EQ(obj::polygonCount(fi, 0), 1);
    }
}

TEST(ReaderTest, ModelPathWithoutFolderReadsItsLibraryFromTheWorkingFolder) {
    ModelFolder folder;
    folder.write("lib.mtl", kLibrary);
    folder.write("bare.obj", std::string("mtllib lib.mtl\n") + kTriangle + "usemtl red\nf 1 2 3\n");
    int fi = -1;
    {
        testsupport::InFolder inFolder(folder.folder());
        fi = obj::createFile("bare.obj");
    }
    ASSERT_EQ(obj::materialCount(fi), 1);
    EXPECT_STREQ(obj::getMaterialName(fi, 0), "red");
}

TEST(ReaderTest, UnopenableModelGivesAnEmptyFile) {
    int fi = obj::createFile("/nonexistent/model.obj");
    ASSERT_GE(fi, 0);
    EXPECT_EQ(obj::materialCount(fi), 0);
    EXPECT_EQ(obj::surfaceCount(fi), 0);
    EXPECT_EQ(obj::vertexCount(fi), 0);
}

TEST(ReaderTest, FolderAndEndlessInputGiveEmptyFilesWithTheirReasonWhileAPipeIsRead) {
    ModelFolder folder;
    int fromFolder = obj::createFile(folder.folder().c_str());
    EXPECT_EQ(obj::materialCount(fromFolder), 0);
    EXPECT_STREQ(obj::lastReadError(), std::strerror(EISDIR));

    int endless = obj::createFile("/dev/zero");
    EXPECT_EQ(obj::surfaceCount(endless), 0);
    EXPECT_STREQ(obj::lastReadError(), "File is longer than the largest model read (1 GiB)");

    std::string pipe = folder.path("pipe.obj");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Opening the pipe for writing waits for the reader that createFile opens.
    std::thread writer([&] { folder.write("pipe.obj", std::string(kTriangle) + "f 1 2 3\n"); });
    int piped = obj::createFile(pipe.c_str());
    writer.join();
    EXPECT_EQ(obj::lastReadError(), nullptr);
    ASSERT_EQ(obj::surfaceCount(piped), 1);
    EXPECT_EQ(obj::polygonCount(piped, 0), 1);
}

TEST(ReaderTest, FaceLineLongerThanAThousandCharactersKeepsAllItsCorners) {
    std::string text;
    constexpr int kCorners = 600;
    for (int i = 0; i < kCorners; ++i) {
        float angle = 6.2831853f * static_cast<float>(i) / kCorners;
        text.append("v ").append(std::to_string(std::cos(angle)));
        text.append(" ").append(std::to_string(std::sin(angle))).append(" 0\n");
    }
    std::string face = "f";
    for (int i = 1; i <= kCorners; ++i) face.append(" ").append(std::to_string(i));
    ASSERT_GT(face.size(), 2000u);
    int fi = loadModel(text + face + "\n");
    EXPECT_EQ(obj::vertexCount(fi), kCorners);
    EXPECT_EQ(obj::polygonCount(fi, 0), kCorners - 2);
    EXPECT_EQ(polygon(fi, 0, kCorners - 3), (std::array<int, 3>{0, kCorners - 2, kCorners - 1}));
}

TEST(ReaderTest, FaceOfMoreCornersThanAParsedChunkHoldsIsReadWholeOnEitherThread) {
    // 99,999 corners going round three positions: the face runs over into a second chunk of
    // parsed text.
    constexpr int kCorners = 99999;
    std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf";
    for (int i = 0; i < kCorners; ++i) text.append(i % 3 == 0 ? " 1" : i % 3 == 1 ? " 2" : " 3");
    text += "\nv 0 0 1\nf -1 1 2\n";
    const long long usual = obj::setParallelParseBytes(0);
    for (long long parallelBytes : {1LL << 40, 0LL}) {
        obj::setParallelParseBytes(parallelBytes);
        int fi = loadModel(text);
        EXPECT_EQ(obj::vertexCount(fi), 4);
        ASSERT_EQ(obj::polygonCount(fi, 0), kCorners - 2 + 1);
        EXPECT_EQ(polygon(fi, 0, kCorners - 3), (std::array<int, 3>{0, 1, 2}));
        EXPECT_EQ(polygon(fi, 0, kCorners - 2), (std::array<int, 3>{3, 0, 1}));
        obj::deleteFile(fi);
    }
    obj::setParallelParseBytes(usual);
}

TEST(ReaderTest, CarriageReturnLineEndsReadLikeLineFeeds) {
    std::string obj =
        std::string("mtllib lib.mtl\n") + kTriangle + "s 1\nusemtl textured\nf 1 2 3\n";
    std::string mtl = kLibrary;
    auto crlf = [](std::string text) {
        std::string out;
        for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return out;
    };
    ModelFolder plain;
    ModelFolder windows;
    plain.write("lib.mtl", mtl);
    windows.write("lib.mtl", crlf(mtl));
    int a = obj::createFile(plain.write("model.obj", obj).c_str());
    int b = obj::createFile(windows.write("model.obj", crlf(obj)).c_str());
    std::string textA = plain.path("out");
    std::string textB = windows.path("out");
    obj::writeModel(a, textA.c_str(), (textA + ".mtl").c_str());
    obj::writeModel(b, textB.c_str(), (textB + ".mtl").c_str());
    EXPECT_EQ(ModelFolder::read(textA).substr(textA.size() + 12),
              ModelFolder::read(textB).substr(textB.size() + 12));
    std::string mtlB = ModelFolder::read(textB + ".mtl");
    EXPECT_EQ(mtlB.find('\r'), std::string::npos);
    EXPECT_NE(mtlB.find("/tex.bmp\n"), std::string::npos);
    EXPECT_EQ(obj::polygonCount(b, 0), 1);
}

TEST(ReaderTest, CornersOutsideThePositionTableAreDropped) {
    int fi = loadModel(std::string(kTriangle) + "f 1 2 0 3 9 -7\nf 1 2 7\n");
    EXPECT_EQ(obj::vertexCount(fi), 3);
    ASSERT_EQ(obj::surfaceCount(fi), 1);
    EXPECT_EQ(obj::polygonCount(fi, 0), 1);
}

TEST(ReaderTest, ShortAndDegenerateFacesInASmoothingGroupLeaveFiniteNormals) {
    int fi = loadModel("v 0 0 0\nv 1 0 0\nv 2 0 0\ns 1\nf 1\nf 1 2\nf 1 2 3\nf 2 2 2\n");
    ASSERT_EQ(obj::surfaceCount(fi), 1);
    EXPECT_EQ(obj::polygonCount(fi, 0), 2);
    for (int vi = 0; vi < obj::vertexCount(fi); ++vi) {
        std::array<float, 3> n = normal(fi, vi);
        for (float value : n) EXPECT_TRUE(std::isfinite(value));
    }
}

TEST(ReaderTest, ShortVertexLinesAndBadNumbersReadAsZero) {
    int fi = loadModel("v 1\nv x 2 3\nv 1,5 2 3\nf 1 2 3\n");
    ASSERT_EQ(obj::vertexCount(fi), 3);
    EXPECT_EQ(position(fi, 0), (std::array<float, 3>{1, 0, 0}));
    EXPECT_EQ(position(fi, 1), (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(position(fi, 2), (std::array<float, 3>{1, 0, 0}));
}

}  // namespace
