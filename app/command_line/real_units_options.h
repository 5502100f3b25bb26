// The command line's options of the wall in real units: its pitch (which turns them on), its
// size in metres, how it is mounted, how content fills it, and the viewer and their eyesight.
#pragma once

#include <string>

#include "feeds/wall_layout.h"
#include "physical/wall_setup.h"

struct RealUnitsOptions {
    WallSetup setup;
    // --wall WxHm: the wall's sides in metres, made LEDs once the pitch is known.
    double widthMetres = 0, heightMetres = 0;
    bool metresGiven = false;
    bool viewerGiven = false;
    bool eyeGiven = false;
    bool mountGiven = false;
};

// Takes argv[i] (and its value, advancing i) when it is one of these options, or --wall in
// metres: true then, with `error` set when its value is wrong. False for any other argument,
// so --wall in LEDs is left to the feed options.
bool parseRealUnitsOption(int argc, char** argv, int& i, RealUnitsOptions& options,
                          std::string& error);

// Once every argument is read: the wall's LEDs from its metres, or from `layout` (--wall in
// LEDs, or its default), which then holds them for the feeds too; the viewer's default
// distance; the options that make no sense without --pitch refused. `error` says what is wrong.
void finishRealUnitsOptions(RealUnitsOptions& options, WallLayout& layout, std::string& error);

// The usage lines of these options.
const char* realUnitsUsageText();
