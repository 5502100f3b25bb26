// In real units the user's pictures, videos and animations are shown on the wall's own LEDs:
// each source wrapped so its frames come fitted to the wall (a live feed already is the wall).
#pragma once

#include <vector>

#include "app/user_pictures.h"
#include "physical/wall_setup.h"

void fitUserPicturesToWall(std::vector<UserPicture>& pictures, const WallSetup& setup);
