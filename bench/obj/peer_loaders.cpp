// Calls into the peer loaders; kept apart from the benchmark so that only this file sees
// their headers.
#include "bench/obj/peer_loaders.h"

#include <fast_obj.h>
#include <rapidobj.hpp>
#include <tiny_obj_loader.h>

namespace peers {

long loadWithTinyobjloader(const std::string& path) {
    tinyobj::ObjReaderConfig config;
    config.triangulate = true;
    tinyobj::ObjReader reader;
    if (!reader.ParseFromFile(path, config)) return -1;
    long triangles = 0;
    for (const auto& shape : reader.GetShapes()) triangles += shape.mesh.indices.size() / 3;
    return triangles;
}

long loadWithFastObj(const std::string& path) {
    fastObjMesh* mesh = fast_obj_read(path.c_str());
    if (!mesh) return -1;
    long triangles = 0;
    for (unsigned int f = 0; f < mesh->face_count; ++f) {
        bool line = mesh->face_lines && mesh->face_lines[f];
        if (!line && mesh->face_vertices[f] >= 3) triangles += mesh->face_vertices[f] - 2;
    }
    fast_obj_destroy(mesh);
    return triangles;
}

long loadWithRapidobj(const std::string& path) {
    rapidobj::Result result = rapidobj::ParseFile(path);
    if (result.error || !rapidobj::Triangulate(result)) return -1;
    long triangles = 0;
    for (const auto& shape : result.shapes) triangles += shape.mesh.indices.size() / 3;
    return triangles;
}

}  // namespace peers
