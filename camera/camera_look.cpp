// The camera's one GL call, kept apart so the rest of the camera builds and tests without GL.
#include <GL/glu.h>

#include "camera/camera.h"

void Camera::look() const {
    gluLookAt(position.x, position.y, position.z, view.x, view.y, view.z, upVector.x, upVector.y,
              upVector.z);
}
