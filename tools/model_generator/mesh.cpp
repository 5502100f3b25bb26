// Mesh arithmetic and the OBJ and MTL text of the frame model (see mesh.h).
#include "tools/model_generator/mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <map>

namespace modelgen {

Vec3 normalized(Vec3 a) {
    float length = std::sqrt(dot(a, a));
    return length > 0 ? a * (1 / length) : a;
}

void Mesh::addFace(std::vector<Corner> corners) {
    faces.push_back({std::move(corners), material, smoothing});
}

int Mesh::triangleCount() const {
    int count = 0;
    for (const Face& face : faces) count += static_cast<int>(face.corners.size()) - 2;
    return count;
}

namespace {

// printf into a string; the attribute lets the compiler check each call's literal format
// against its arguments.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string format(const char* pattern, ...) {
    char text[96];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(text, sizeof text, pattern, arguments);
    va_end(arguments);
    return text;
}

// Numbers the distinct lines of one kind ("v ...", "vt ...", "vn ...") from 1 in order of
// first use, so equal values are written once.
struct LineTable {
    std::map<std::string, int> index;
    std::string text;
    int indexOf(const std::string& line) {
        auto [it, added] = index.try_emplace(line, static_cast<int>(index.size()) + 1);
        if (added) text += line + "\n";
        return it->second;
    }
};

}  // namespace

std::string objText(const Mesh& mesh, const std::string& libraryName) {
    LineTable positions, texcoords, normals;
    std::string faces;
    std::vector<const Face*> ordered;
    for (const Face& face : mesh.faces) ordered.push_back(&face);
    // One "usemtl" per material: each such line makes a material and a surface when read.
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Face* a, const Face* b) { return a->material < b->material; });
    int material = -1, smoothing = -1;
    for (const Face* face : ordered) {
        if (face->material != material) {
            material = face->material;
            faces += "usemtl " + mesh.materials[material].name + "\n";
            smoothing = -1;
        }
        if (face->smoothing != smoothing) {
            smoothing = face->smoothing;
            faces += smoothing ? "s " + std::to_string(smoothing) : std::string("s off");
            faces += "\n";
        }
        faces += "f";
        for (const Corner& c : face->corners) {
            int v = positions.indexOf(
                format("v %.4f %.4f %.4f", c.position.x, c.position.y, c.position.z));
            int vt = texcoords.indexOf(format("vt %.4f %.4f", c.s, c.t));
            int vn =
                normals.indexOf(format("vn %.4f %.4f %.4f", c.normal.x, c.normal.y, c.normal.z));
            char text[48];
            std::snprintf(text, sizeof text, " %d/%d/%d", v, vt, vn);
            faces += text;
        }
        faces += "\n";
    }
    std::string text = "# Roadside billboard frame: posts, frame, back panel, walkway, lamps.\n";
    text += "# The billboard face itself (x -20..20, y 10..30, z 0) is drawn by the program.\n";
    text += "# " + std::to_string(mesh.triangleCount()) + " triangles\n";
    text += "mtllib " + libraryName + "\n";
    return text + positions.text + texcoords.text + normals.text + faces;
}

std::string mtlText(const Mesh& mesh) {
    std::string text = "# Materials of the billboard frame; the program binds the metal texture.\n";
    for (const Material& m : mesh.materials) {
        text += "\nnewmtl " + m.name + "\n";
        text += format("Ka %.3f %.3f %.3f\n", m.ambient.x, m.ambient.y, m.ambient.z);
        text += format("Kd %.3f %.3f %.3f\n", m.diffuse.x, m.diffuse.y, m.diffuse.z);
        text += format("Ks %.3f %.3f %.3f\n", m.specular.x, m.specular.y, m.specular.z);
        text += format("Ke %.3f %.3f %.3f\n", m.emission.x, m.emission.y, m.emission.z);
        text += format("Ns %.1f\n", m.shininess);
        text += "d 1.0\n";
    }
    return text;
}

}  // namespace modelgen
