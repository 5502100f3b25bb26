// In real units the user's pictures, videos and animations are shown on the wall's own LEDs:
// each source wrapped so its frames come fitted to the wall (a live feed already is the wall).
#pragma once

#include <vector>

#include "app/playback/content_files.h"
#include "physical/wall_setup.h"

void fitContentToWall(std::vector<Content>& contents, const WallSetup& setup);
