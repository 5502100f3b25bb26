// The peer OBJ loaders the reader is measured against, each loading one file and returning
// the triangles it found (after triangulating faces), or -1 when it failed.
#pragma once

#include <string>

namespace peers {

long loadWithTinyobjloader(const std::string& path);
long loadWithFastObj(const std::string& path);
long loadWithRapidobj(const std::string& path);

}  // namespace peers
