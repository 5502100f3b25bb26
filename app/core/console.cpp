// consolePrint: printf to standard output, flushed after every call, whatever standard output
// is (a terminal, a pipe or a file).
#include "app/core/console.h"

#include <cstdarg>
#include <cstdio>

void consolePrint(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stdout, format, arguments);
    va_end(arguments);
    std::fflush(stdout);
}
