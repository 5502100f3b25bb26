// Loads a small model of every benchmark shape and compares the whole store (materials,
// vertices with their tangents, surfaces with their triangles and segments, in order) with
// a dump kept in tests/obj/equivalence/, so that work on the reader's speed cannot change
// what it reads; larger models, whose text runs over several parsed chunks, against a digest
// of their dump. OBJ_EQUIVALENCE_WRITE=1 writes the dumps and digests instead of comparing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/obj/model_shapes.h"
#include "obj/obj_internal.h"
#include "obj/reader.h"
#include "tests/obj/model_files.h"
namespace modelshapes {
// Readable parameter values in test listings.
void PrintTo(const ModelShape& shape, std::ostream* out) {
    *out << shape.name;
}
}  // namespace modelshapes

namespace {

using testsupport::ModelFolder;

// Faces of each small model: enough for every switch of the shapes to occur.
constexpr int kSmallFaces = 50;
// Faces of each larger model: its text runs over several parsed chunks.
constexpr int kChunkedFaces = 20000;

void appendFloats(std::string& out, const char* label, const float* values, int count) {
    out += label;
    char number[32];
    for (int k = 0; k < count; ++k) {
        std::snprintf(number, sizeof number, " %.9g", values[k]);  // exact for floats
        out += number;
    }
}

// Every field of file fi that a reader fills, one record a line.
std::string dumpStore(int fi) {
    std::string out;
    char line[256];
    std::snprintf(line, sizeof line, "materials %d vertices %d surfaces %d\n",
                  obj::materialCount(fi), obj::vertexCount(fi), obj::surfaceCount(fi));
    out += line;
    for (int mi = 0; mi < obj::materialCount(fi); ++mi) {
        const char* name = obj::getMaterialName(fi, mi);
        out += "material " + std::to_string(mi) + " " + (name ? name : "(unnamed)") + "\n";
        for (int ki = 0; ki < obj::kindCount; ++ki) {
            const obj::ObjMap& map = obj::file(fi)->materials[mi].maps[ki];
            // Only the map's file name: the folder part is the test's temporary folder.
            std::string path = map.path ? map.path : "(none)";
            path = path.substr(path.find_last_of('/') + 1);
            out += " slot " + std::to_string(ki) + " flags " + std::to_string(map.flags) +
                   " path " + path;
            appendFloats(out, " c", map.c, 4);
            appendFloats(out, " o", map.o, 3);
            appendFloats(out, " s", map.s, 3);
            out += "\n";
        }
    }
    for (int vi = 0; vi < obj::vertexCount(fi); ++vi) {
        const obj::ObjVertex& vertex = obj::file(fi)->vertices[vi];
        out += "vertex " + std::to_string(vi);
        appendFloats(out, " p", vertex.position, 3);
        appendFloats(out, " t", vertex.texcoord, 2);
        appendFloats(out, " n", vertex.normal, 3);
        appendFloats(out, " g", vertex.tangent, 3);
        out += "\n";
    }
    for (int si = 0; si < obj::surfaceCount(fi); ++si) {
        std::snprintf(line, sizeof line, "surface %d material %d polygons %d lines %d\n", si,
                      obj::getSurfaceMaterial(fi, si), obj::polygonCount(fi, si),
                      obj::lineCount(fi, si));
        out += line;
        for (int pi = 0; pi < obj::polygonCount(fi, si); ++pi) {
            int vi[3];
            obj::getPolygon(fi, si, pi, vi);
            std::snprintf(line, sizeof line, " p %d %d %d\n", vi[0], vi[1], vi[2]);
            out += line;
        }
        for (int li = 0; li < obj::lineCount(fi, si); ++li) {
            int vi[2];
            obj::getLine(fi, si, li, vi);
            std::snprintf(line, sizeof line, " l %d %d\n", vi[0], vi[1]);
            out += line;
        }
    }
    return out;
}

std::string loadAndDump(const std::string& shape, int faces = kSmallFaces) {
    ModelFolder folder;
    std::string objPath = folder.path(shape + ".obj");
    std::FILE* obj = std::fopen(objPath.c_str(), "wb");
    std::FILE* mtl = std::fopen(folder.path("shapes.mtl").c_str(), "wb");
    EXPECT_TRUE(obj && mtl);
    if (!obj || !mtl) return {};
    EXPECT_TRUE(modelshapes::writeModelShape(shape, faces, obj, mtl));
    std::fclose(obj);
    std::fclose(mtl);
    int fi = obj::createFile(objPath.c_str());
    std::string dump = dumpStore(fi);
    obj::deleteFile(fi);
    return dump;
}

// A 64-bit FNV-1a digest of a dump, to keep in place of a dump of several megabytes.
std::string digestOf(const std::string& dump) {
    std::uint64_t digest = 14695981039346656037ull;
    for (unsigned char c : dump) digest = (digest ^ c) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(digest));
    return text;
}

// The first line where two dumps differ, for a readable failure.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected);
    std::istringstream b(actual);
    std::string lineA;
    std::string lineB;
    for (int number = 1;; ++number) {
        bool moreA = static_cast<bool>(std::getline(a, lineA));
        bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB) return "none";
        if (!moreA || !moreB || lineA != lineB) {
            return "line " + std::to_string(number) + "\n expected: " + (moreA ? lineA : "(end)") +
                   "\n   actual: " + (moreB ? lineB : "(end)");
        }
    }
}

class ReaderEquivalenceTest : public testing::TestWithParam<modelshapes::ModelShape> {};

TEST_P(ReaderEquivalenceTest, StoreMatchesTheKeptDump) {
    std::string shape = GetParam().name;
    std::string expectedPath = "tests/obj/equivalence/" + shape + ".txt";
    std::string actual = loadAndDump(shape);
    ASSERT_FALSE(actual.empty());
    if (std::getenv("OBJ_EQUIVALENCE_WRITE")) {
        std::ofstream(expectedPath, std::ios::binary) << actual;
        GTEST_SKIP() << "wrote " << expectedPath;
    }
    std::string expected = ModelFolder::read(expectedPath);
    ASSERT_FALSE(expected.empty()) << "missing " << expectedPath;
    EXPECT_TRUE(expected == actual)
        << shape << ": first difference at " << firstDifference(expected, actual);
}

TEST_P(ReaderEquivalenceTest, TextParsedOnASecondThreadGivesTheKeptDump) {
    std::string shape = GetParam().name;
    const long long usual = obj::setParallelParseBytes(0);
    std::string actual = loadAndDump(shape);
    obj::setParallelParseBytes(usual);
    std::string expected = ModelFolder::read("tests/obj/equivalence/" + shape + ".txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(expected == actual)
        << shape << ": first difference at " << firstDifference(expected, actual);
}

TEST_P(ReaderEquivalenceTest, TextOfManyChunksGivesTheKeptDigestOnEitherThread) {
    std::string shape = GetParam().name;
    std::string expectedPath = "tests/obj/equivalence/" + shape + ".digest";
    const long long usual = obj::setParallelParseBytes(1LL << 40);
    std::string oneThread = digestOf(loadAndDump(shape, kChunkedFaces));
    obj::setParallelParseBytes(0);
    std::string twoThreads = digestOf(loadAndDump(shape, kChunkedFaces));
    obj::setParallelParseBytes(usual);
    if (std::getenv("OBJ_EQUIVALENCE_WRITE")) {
        std::ofstream(expectedPath, std::ios::binary) << oneThread << "\n";
        GTEST_SKIP() << "wrote " << expectedPath;
    }
    std::string expected = ModelFolder::read(expectedPath);
    EXPECT_EQ(expected, oneThread + "\n");
    EXPECT_EQ(expected, twoThreads + "\n");
}

INSTANTIATE_TEST_SUITE_P(EveryShape, ReaderEquivalenceTest,
                         testing::ValuesIn(modelshapes::modelShapes()),
                         [](const testing::TestParamInfo<modelshapes::ModelShape>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
