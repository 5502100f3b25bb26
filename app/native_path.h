// The program writes its picture paths with backslashes, as they are spelled in its
// catalogue; on platforms whose separator is the forward slash they are translated here.
#pragma once

#include <string>

// path with every backslash turned into the platform's separator; Windows keeps it as written.
std::string nativePath(const char* path);
