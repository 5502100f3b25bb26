// Console lines of the program. Each call is flushed at once, so a tuning session logged
// through a pipe or into a file shows every line as soon as it happens.
#pragma once

#if defined(__GNUC__)
#define GLIMMER_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define GLIMMER_PRINTF(f, a)
#endif

void consolePrint(const char* format, ...) GLIMMER_PRINTF(1, 2);
