// The program's one camera, placed by the scene load before its first use and turned and
// walked by the keys and the mouse. The camera library itself holds no instance.
#pragma once

#include "camera/camera.h"

extern Camera camera;
