// Generated OBJ models of the shapes users bring, shared by the reader benchmark (large
// versions) and the reader's equivalence test (small versions): the same text for a given
// shape and size on every machine, since it comes from a fixed pseudo-random sequence.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace modelshapes {

struct ModelShape {
    const char* name;         // also the file name stem
    const char* description;  // one line for reports
};

// Every shape, in the order reports list them.
const std::vector<ModelShape>& modelShapes();

// Writes shape `name` with about `faces` faces as OBJ text to obj; the text names the
// library "shapes.mtl", which goes to mtl (every shape uses it or ignores it). Returns false
// for an unknown name.
bool writeModelShape(const std::string& name, int faces, std::FILE* obj, std::FILE* mtl);

}  // namespace modelshapes
