#include "app/scene_camera.h"

Camera camera;
