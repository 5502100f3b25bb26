// Picture paths are written with backslashes, as the picture catalogue spells them; on
// platforms whose separator is the forward slash they are translated here. The catalogue and
// the loader's file mapping share this one translation.
#pragma once

#include <string>

// path with every backslash turned into the platform's separator; Windows keeps it as written.
std::string nativePath(const char* path);
