// Backslash-to-slash translation of catalogue paths, kept behind one function so a Windows
// build passes the paths through untouched.
#include "files/native_path.h"

#include <algorithm>

std::string nativePath(const char* path) {
    std::string translated = path != nullptr ? path : "";
#if !defined(_WIN32)
    std::replace(translated.begin(), translated.end(), '\\', '/');
#endif
    return translated;
}
