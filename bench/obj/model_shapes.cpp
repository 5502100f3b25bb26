// The generated model shapes: regular grids in each corner form, random faces over a large
// position table, many material groups, long and negative indices, CRLF text, and few
// positions shared by many corners.
#include "bench/obj/model_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>

namespace modelshapes {

namespace {

// A fixed 64-bit linear congruential sequence: the same models on every machine and library.
class Sequence {
  public:
    std::uint32_t next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 32);
    }
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint32_t>(bound)); }
    float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }

  private:
    std::uint64_t state_ = 0x853c49e6748fea9bULL;
};

// Writes lines with a chosen line ending.
struct Text {
    std::FILE* out;
    const char* end = "\n";

    // One line: the formatted text and the line ending.
    __attribute__((format(printf, 2, 3))) void line(const char* format, ...) {
        va_list args;
        va_start(args, format);
        std::vfprintf(out, format, args);
        va_end(args);
        std::fputs(end, out);
    }
};

enum class Corners { full, normalOnly, texcoordOnly, bare };

// Positions, texture coordinates and normals of a (side + 1)² grid of points on a wavy sheet.
void writeGridPoints(Text& text, int side, Corners corners) {
    const int row = side + 1;
    for (int k = 0; k < row * row; ++k) {
        float u = static_cast<float>(k % row) / side;
        float v = static_cast<float>(k / row) / side;
        text.line("v %.6f %.6f %.6f", u * 10 - 5, v * 10 - 5,
                  0.25f * std::sin(u * 20) * std::cos(v * 20));
    }
    if (corners == Corners::full || corners == Corners::texcoordOnly) {
        for (int k = 0; k < row * row; ++k) {
            text.line("vt %.6f %.6f", static_cast<float>(k % row) / side,
                      static_cast<float>(k / row) / side);
        }
    }
    if (corners == Corners::full || corners == Corners::normalOnly) {
        for (int k = 0; k < row * row; ++k) {
            float u = static_cast<float>(k % row) / side;
            float nz = 1 / std::sqrt(1 + 0.1f * u * u);
            text.line("vn %.6f %.6f %.6f", 0.3162f * u * nz, 0.0f, nz);
        }
    }
}

// One corner whose attributes share the position's 1-based index.
void appendCorner(std::string& face, int index, Corners corners) {
    char token[48];
    switch (corners) {
        case Corners::full:
            std::snprintf(token, sizeof token, " %d/%d/%d", index, index, index);
            break;
        case Corners::normalOnly:
            std::snprintf(token, sizeof token, " %d//%d", index, index);
            break;
        case Corners::texcoordOnly:
            std::snprintf(token, sizeof token, " %d/%d", index, index);
            break;
        case Corners::bare:
            std::snprintf(token, sizeof token, " %d", index);
            break;
    }
    face += token;
}

int gridSide(int faces, int facesPerCell) {
    return std::max(2, static_cast<int>(std::ceil(std::sqrt(faces / double(facesPerCell)))));
}

// Calls visit(x, y, triangle) for the two triangles of every cell of the grid, row by row;
// each triangle starts at its cell's low corner.
template <typename Visit>
void forEachGridTriangle(int side, Visit visit) {
    const int row = side + 1;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int a = y * row + x + 1;
            const int triangles[2][3] = {{a, a + 1, a + row + 1}, {a, a + row + 1, a + row}};
            for (const auto& triangle : triangles) visit(x, y, triangle);
        }
    }
}

// Grid cells as two triangles or one quad each, the first corner at the cell's low corner.
void writeGrid(Text& text, int faces, Corners corners, bool quads) {
    int side = gridSide(faces, quads ? 1 : 2);
    writeGridPoints(text, side, corners);
    const int row = side + 1;
    std::string face;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            int a = y * row + x + 1;
            int b = a + 1;
            int c = a + row + 1;
            int d = a + row;
            const int cells[2][4] = {{a, b, c, d}, {a, c, d, 0}};
            for (int part = 0; part < (quads ? 1 : 2); ++part) {
                face.clear();
                face.push_back('f');
                const int* corner = quads ? cells[0] : (part == 0 ? cells[0] : cells[1]);
                for (int k = 0; k < (quads ? 4 : 3); ++k) appendCorner(face, corner[k], corners);
                text.line("%s", face.c_str());
            }
        }
    }
}

// Random faces of 3 to 5 corners over a position table half as long as the face count,
// each face `v//vn` or `v/vt/vn`, in groups with a material and a smoothing switch.
void writeRandomFaces(Text& text, int faces) {
    Sequence random;
    int positions = std::max(8, faces / 2);
    for (int k = 0; k < positions; ++k) {
        text.line("v %.6f %.6f %.6f", random.unit() * 200 - 100, random.unit() * 200 - 100,
                  random.unit() * 200 - 100);
    }
    for (int k = 0; k < positions; ++k) text.line("vt %.6f %.6f", random.unit(), random.unit());
    for (int k = 0; k < positions; ++k) {
        float z = random.unit() * 2 - 1;
        text.line("vn %.6f %.6f %.6f", std::sqrt(1 - z * z), 0.0f, z);
    }
    int groups = std::clamp(faces / 16, 1, 1000);
    text.line("mtllib shapes.mtl");
    std::string face;
    for (int f = 0; f < faces; ++f) {
        if (f % std::max(1, faces / groups) == 0) {
            int group = f / std::max(1, faces / groups);
            text.line("g part%d", group);
            text.line("usemtl m%d", group % 16);
            if (group % 3 == 2) {
                text.line("s off");
            } else {
                text.line("s %d", group % 3);
            }
        }
        int count = 3 + random.below(3);
        Corners corners = random.below(2) ? Corners::full : Corners::normalOnly;
        face.clear();
        face.push_back('f');
        for (int k = 0; k < count; ++k) appendCorner(face, 1 + random.below(positions), corners);
        text.line("%s", face.c_str());
    }
}

// A grid of triangles where the material changes every 8 faces and the smoothing group every
// 5, with a polyline at every material switch: many small surfaces of mixed opacity.
void writeGroups(Text& text, int faces) {
    int side = gridSide(faces, 2);
    writeGridPoints(text, side, Corners::full);
    text.line("mtllib shapes.mtl");
    const int row = side + 1;
    const char* smoothing[3] = {"s 1", "s 2", "s off"};
    std::string face;
    int f = 0;
    forEachGridTriangle(side, [&](int x, int y, const int(&triangle)[3]) {
        if (f % 8 == 0) {
            const int a = triangle[0];
            text.line("g cell%d_%d", x, y);
            text.line("usemtl m%d", (f / 8) % 16);
            text.line("l %d/%d %d/%d %d", a, a, a + 1, a + 1, a + row);
        }
        if (f % 5 == 0) text.line("%s", smoothing[(f / 5) % 3]);
        face.clear();
        face.push_back('f');
        bool withNormals = (f / 8) % 2 == 0;
        for (int corner : triangle) {
            appendCorner(face, corner, withNormals ? Corners::full : Corners::texcoordOnly);
        }
        text.line("%s", face.c_str());
        ++f;
    });
}

// The grid with every index written long: absolute indices zero-padded to ten digits on
// even faces, negative indices counting back from the end of the tables on odd faces.
void writeLongAndNegativeIndices(Text& text, int faces) {
    int side = gridSide(faces, 2);
    writeGridPoints(text, side, Corners::full);
    const int row = side + 1;
    const int count = row * row;
    int f = 0;
    forEachGridTriangle(side, [&](int, int, const int(&triangle)[3]) {
        if (f++ % 2 == 0) {
            text.line("f %010d/%010d/%010d %010d/%010d/%010d %010d/%010d/%010d", triangle[0],
                      triangle[0], triangle[0], triangle[1], triangle[1], triangle[1], triangle[2],
                      triangle[2], triangle[2]);
        } else {
            int n[3];
            for (int k = 0; k < 3; ++k) n[k] = triangle[k] - count - 1;
            text.line("f %d/%d/%d %d/%d/%d %d/%d/%d", n[0], n[0], n[0], n[1], n[1], n[1], n[2],
                      n[2], n[2]);
        }
    });
}

// Few positions and many corners: each corner either repeats its position's own texture
// coordinate or takes a random one, so vertices are shared, split and started again.
void writeFewSharedPositions(Text& text, int faces) {
    Sequence random;
    const int positions = 16;
    int texcoords = std::max(positions, faces / 4);
    for (int k = 0; k < positions; ++k) {
        text.line("v %.6f %.6f %.6f", random.unit(), random.unit(), random.unit());
    }
    for (int k = 0; k < texcoords; ++k) text.line("vt %.6f %.6f", random.unit(), random.unit());
    text.line("vn 0 0 1");
    text.line("s 1");
    for (int f = 0; f < faces; ++f) {
        if (f % 64 == 32) text.line("s %d", f % 128 == 32 ? 2 : 1);
        int v[3];
        int vt[3];
        for (int k = 0; k < 3; ++k) {
            v[k] = 1 + random.below(positions);
            vt[k] = random.below(2) ? v[k] : 1 + random.below(texcoords);
        }
        if (f % 4 == 0) {
            text.line("f %d/%d/1 %d/%d/1 %d/%d/1", v[0], vt[0], v[1], vt[1], v[2], vt[2]);
        } else {
            text.line("f %d/%d %d/%d %d/%d", v[0], vt[0], v[1], vt[1], v[2], vt[2]);
        }
    }
}

// The CRLF grid also carries comments, blank lines and object names, which are skipped.
void writeCrlfGrid(Text& text, int faces) {
    text.end = "\r\n";
    text.line("# grid written with CRLF line ends");
    text.line("o sheet");
    text.line("%s", "");
    writeGrid(text, faces, Corners::full, false);
}

// Sixteen materials of mixed opacity, so surfaces are reordered after loading.
void writeLibrary(std::FILE* mtl) {
    Sequence random;
    for (int k = 0; k < 16; ++k) {
        std::fprintf(mtl, "newmtl m%d\n", k);
        std::fprintf(mtl, "Kd %.4f %.4f %.4f\n", random.unit(), random.unit(), random.unit());
        std::fprintf(mtl, "Ka 0.1 0.1 0.1\nKs 0.5 0.5 0.5\nNs %d\n", 4 + k * 8);
        if (k % 4 == 3) std::fprintf(mtl, "d %.2f\n", 0.25 * (k % 3 + 1));
        if (k % 5 == 0) std::fprintf(mtl, "map_Kd -s 2 2 1 -o 0.5 0 0 m%d.bmp\n", k);
        std::fprintf(mtl, "\n");
    }
}

}  // namespace

const std::vector<ModelShape>& modelShapes() {
    static const std::vector<ModelShape> shapes = {
        {"grid", "grid of triangles, v/vt/vn corners"},
        {"random", "random faces of 3-5 corners over a large table, v//vn and v/vt/vn, groups"},
        {"normals", "grid of quads, v//vn corners"},
        {"texcoords", "grid of quads, v/vt corners"},
        {"bare", "grid of triangles, bare v corners, smoothing group 1"},
        {"groups", "grid with a material every 8 faces and a smoothing switch every 5"},
        {"indices", "grid with ten-digit and negative indices"},
        {"crlf", "grid of triangles, v/vt/vn corners, CRLF line ends"},
        {"shared", "16 positions shared by every corner, v/vt and v/vt/vn"},
    };
    return shapes;
}

bool writeModelShape(const std::string& name, int faces, std::FILE* obj, std::FILE* mtl) {
    Text text{obj};
    if (name == "grid") {
        writeGrid(text, faces, Corners::full, false);
    } else if (name == "random") {
        writeRandomFaces(text, faces);
    } else if (name == "normals") {
        writeGrid(text, faces, Corners::normalOnly, true);
    } else if (name == "texcoords") {
        text.line("s off");
        writeGrid(text, faces, Corners::texcoordOnly, true);
    } else if (name == "bare") {
        text.line("s 1");
        writeGrid(text, faces, Corners::bare, false);
    } else if (name == "groups") {
        writeGroups(text, faces);
    } else if (name == "indices") {
        writeLongAndNegativeIndices(text, faces);
    } else if (name == "crlf") {
        writeCrlfGrid(text, faces);
    } else if (name == "shared") {
        writeFewSharedPositions(text, faces);
    } else {
        return false;
    }
    if (mtl) writeLibrary(mtl);
    return true;
}

}  // namespace modelshapes
