// Steps of the OBJ and MTL reader shared between its source files: the material library
// (read once per model load and indexed by material name) and the MTL line steps.
#pragma once

#include <string_view>

namespace obj {

// Copies the entry `name` of the library file directory/libraryName into material mi of
// file fi. A library that cannot be opened, or has no entry of that name, leaves the
// material with its defaults and unnamed.
void readMaterial(std::string_view directory, std::string_view libraryName, std::string_view name,
                  int fi, int mi);

// The MTL line steps: "map_K?" and "map_Ns" lines, colour lines and the opacity line "d".
void readMap(int fi, int mi, int ki, std::string_view argument, std::string_view directory);
void readColor(int fi, int mi, int ki, std::string_view argument);
void readOpacity(int fi, int mi, std::string_view argument);

// Models of at least this many bytes are parsed on a second thread (4 MiB unless set); tests
// set it to read the same text both ways. Returns the size it replaces.
long long setParallelParseBytes(long long bytes);

// Drops the library kept in memory by readMaterial; run at the start and end of each load.
void forgetLibrary();

}  // namespace obj
