// The projection matrix: the perspective of the field of view and near plane every view
// shares, with a far plane and optionally a viewport of the caller's.
#include "app/scene/projection.h"

#include <GL/glew.h>
#include <GL/glu.h>

double wholeNumberAspect(int width, int height) {
    if (height <= 0) height = 1;
    const int quotient = width / height;
    if (quotient == 0) return double(width) / double(height);
    return double(quotient);
}

void loadPerspective(double aspect, double farPlane, const ViewportSize* viewport) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (viewport != nullptr) glViewport(0, 0, viewport->width, viewport->height);
    gluPerspective(kFieldOfViewDegrees, aspect, kNearPlane, farPlane);
}
