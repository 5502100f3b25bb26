// The user's own pictures: decoded before the window opens, each failure reported on standard
// error as "Error: <file>: <reason>", so a start-up with none left can stop early. Each one is
// a source of frames over time, as anything else the billboard can show.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frames/frame_source.h"

struct UserPicture {
    std::string name;  // as the user gave it, for messages and review file names
    std::unique_ptr<FrameSource> source;
    bool ledPerPixel = false;  // a live feed: one LED a pixel, whatever its size
};

// Loads each file (paths relative to the working directory) in order, skipping those that
// fail after reporting them. The result keeps the given order.
std::vector<UserPicture> loadUserPictures(const std::vector<std::string>& paths);

// "name" without its folders and last extension; "picture" when nothing is left.
std::string pictureStem(const std::string& name);
