// Counts the program's redraw requests. Any test executable that uses this counts every
// glutPostRedisplay call made in it, which still reaches GLUT unchanged; unlike watching for
// display calls, the count cannot be disturbed by expose events from other windows.
#pragma once

namespace testsupport {

// glutPostRedisplay calls so far in this process.
int redisplayRequests();

}  // namespace testsupport
