#include "tests/support/redisplay_count.h"

#include <GL/freeglut.h>

#include <dlfcn.h>

namespace {

int requests = 0;

}  // namespace

// Defined in the executable, this takes the place of GLUT's own for every caller in it and
// hands the request on to GLUT's.
extern "C" void glutPostRedisplay() {
    ++requests;
    using PostRedisplay = void (*)();
    static const auto glutOwn =
        reinterpret_cast<PostRedisplay>(dlsym(RTLD_NEXT, "glutPostRedisplay"));
    if (glutOwn) glutOwn();
}

namespace testsupport {

int redisplayRequests() {
    return requests;
}

}  // namespace testsupport
