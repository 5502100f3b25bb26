// The billboard's frame model as the generator builds and writes it: closed, outward-facing
// geometry that stands on the ground and leaves the face's front clear, shaded through the
// bands of the metal texture, and the committed files are what the generator writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

#include "tests/support/process.h"
#include "tools/model_generator/billboard_frame.h"
#include "tools/texture_generator/metal_atlas.h"

namespace {

using modelgen::Corner;
using modelgen::Face;
using modelgen::Vec3;

const modelgen::Mesh& frame() {
    static const modelgen::Mesh mesh = modelgen::buildBillboardFrame();
    return mesh;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(BillboardFrameTest, HasSeveralHundredTrianglesFromQuadsAndTriangles) {
    int quads = 0, triangles = 0;
    for (const Face& face : frame().faces) {
        quads += face.corners.size() == 4;
        triangles += face.corners.size() == 3;
    }
    EXPECT_GT(quads, 0);
    EXPECT_GT(triangles, 0);
    EXPECT_GE(frame().triangleCount(), 300);
    EXPECT_LE(frame().triangleCount(), 3000);
}

TEST(BillboardFrameTest, EveryFaceTurnsCounterClockwiseTowardsItsNormals) {
    // Back-face culling is on when the frame is drawn: a face wound the wrong way vanishes.
    for (std::size_t i = 0; i < frame().faces.size(); ++i) {
        const std::vector<Corner>& c = frame().faces[i].corners;
        Vec3 wound = modelgen::normalized(
            modelgen::cross(c[1].position - c[0].position, c[2].position - c[0].position));
        for (const Corner& corner : c)
            EXPECT_GT(modelgen::dot(wound, corner.normal), 0.9f) << "face " << i;
    }
}

TEST(BillboardFrameTest, NothingCoversTheFaceFromTheFront) {
    constexpr float tolerance = 1e-3f;
    for (std::size_t i = 0; i < frame().faces.size(); ++i) {
        const std::vector<Corner>& c = frame().faces[i].corners;
        float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f, z1 = -1e9f;
        for (const Corner& corner : c) {
            x0 = std::min(x0, corner.position.x), x1 = std::max(x1, corner.position.x);
            y0 = std::min(y0, corner.position.y), y1 = std::max(y1, corner.position.y);
            z1 = std::max(z1, corner.position.z);
        }
        if (z1 < -tolerance) continue;  // behind the face
        bool overlaps = x0 < modelgen::faceRight - tolerance &&
                        x1 > modelgen::faceLeft + tolerance && y0 < modelgen::faceTop - tolerance &&
                        y1 > modelgen::faceBottom + tolerance;
        EXPECT_FALSE(overlaps) << "face " << i << " stands in front of the billboard face";
    }
}

TEST(BillboardFrameTest, PostsStandOnTheGroundUpToTheFrame) {
    float lowest = 1e9f, lowestPost = 1e9f, highestPost = -1e9f;
    for (const Face& face : frame().faces)
        for (const Corner& corner : face.corners) {
            lowest = std::min(lowest, corner.position.y);
            if (face.smoothing) {
                lowestPost = std::min(lowestPost, corner.position.y);
                highestPost = std::max(highestPost, corner.position.y);
            }
        }
    EXPECT_GE(lowest, -0.5f);  // footings sink a little into the ground, no more
    EXPECT_FLOAT_EQ(lowestPost, 0);
    EXPECT_GE(highestPost, modelgen::faceTop);
}

TEST(BillboardFrameTest, TextureCoordinatesStayInsideOneMetalBand) {
    // Sampling near a band's edge would mix the next band in at the smaller mipmap levels.
    const texgen::MetalBand bands[] = {texgen::steelBand, texgen::paintedBand, texgen::lensBand};
    for (const Face& face : frame().faces)
        for (const Corner& corner : face.corners) {
            bool inside = std::any_of(std::begin(bands), std::end(bands), [&](auto band) {
                return corner.t >= band.low + texgen::bandMargin - 1e-4f &&
                       corner.t <= band.high - texgen::bandMargin + 1e-4f;
            });
            EXPECT_TRUE(inside) << "t = " << corner.t;
        }
}

TEST(BillboardFrameTest, ObjTextUsesEveryMaterialASmoothingGroupAndFullCorners) {
    std::istringstream obj(modelgen::objText(frame(), "billboard.mtl"));
    std::string line;
    int usemtl = 0, smoothGroups = 0, faces = 0;
    bool library = false;
    while (std::getline(obj, line)) {
        library |= line == "mtllib billboard.mtl";
        usemtl += line.rfind("usemtl ", 0) == 0;
        smoothGroups += line == "s 1";
        if (line.rfind("f ", 0) != 0) continue;
        ++faces;
        std::istringstream corners(line.substr(2));
        std::string corner;
        while (corners >> corner)
            EXPECT_EQ(std::count(corner.begin(), corner.end(), '/'), 2) << line;
    }
    EXPECT_TRUE(library);
    EXPECT_EQ(usemtl, static_cast<int>(frame().materials.size()));
    EXPECT_GE(usemtl, 2);
    EXPECT_GE(smoothGroups, 1);
    EXPECT_EQ(faces, static_cast<int>(frame().faces.size()));
    std::string mtl = modelgen::mtlText(frame());
    for (const modelgen::Material& material : frame().materials)
        EXPECT_NE(mtl.find("newmtl " + material.name + "\n"), std::string::npos);
}

TEST(ModelGeneratorTest, RegeneratesTheCommittedModelBitForBit) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("glimmer-model-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    testsupport::ProcessOptions options;
    options.arguments = {folder.string()};
    testsupport::ProcessResult result =
        testsupport::runProcess(GLIMMER_BINARY_DIR "/model_generator", options);
    EXPECT_EQ(result.exitStatus, 0) << result.errorText;
    for (const char* name : {"billboard.obj", "billboard.mtl"})
        EXPECT_EQ(fileText((folder / name).string()), fileText(std::string("Models/") + name))
            << name << " differs from what the generator writes";
    std::filesystem::remove_all(folder);
}

}  // namespace
