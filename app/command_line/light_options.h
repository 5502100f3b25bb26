// The command line's light options: the wall's brightness, the ambient light on its face and
// its power, by day and at night.
#pragma once

#include <string>

#include "physical/light_line.h"

// Takes argv[i] and its value (advancing i) when it is a light option: true then, with `error`
// set when its value is wrong. False for any other argument.
bool parseLightOption(int argc, char** argv, int& i, LightSettings& settings, std::string& error);

// The usage lines of the light options.
const char* lightUsageText();
