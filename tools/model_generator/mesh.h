// A small polygon mesh for writing the billboard's frame model: faces whose corners carry a
// position, a texture coordinate and a normal, grouped by material and smoothing group, and
// written as OBJ text with its material library.
#pragma once

#include <string>
#include <vector>

#include "obj/vector3.h"

namespace modelgen {

// The model library's vector type and arithmetic; the frame's own normalisation below works
// in float, as the committed model was made with.
using obj::cross;
using obj::dot;
using obj::Vec3;
Vec3 normalized(Vec3 a);

struct Corner {
    Vec3 position;
    float s = 0, t = 0;
    Vec3 normal;
};

struct Face {
    std::vector<Corner> corners;  // counter-clockwise seen from the side the normal faces
    int material = 0;
    int smoothing = 0;  // 0: none
};

struct Material {
    std::string name;
    Vec3 ambient, diffuse, specular, emission;
    float shininess = 0;
};

struct Mesh {
    std::vector<Material> materials;
    std::vector<Face> faces;
    int material = 0;   // for faces added from now on
    int smoothing = 0;  // for faces added from now on

    void addFace(std::vector<Corner> corners);
    int triangleCount() const;
};

// OBJ text: the library line, every position, texture coordinate and normal once, then the
// faces grouped by material as "v/vt/vn" corners.
std::string objText(const Mesh& mesh, const std::string& libraryName);
std::string mtlText(const Mesh& mesh);

}  // namespace modelgen
