// The user's own pictures: decoded before the window opens, each failure reported on standard
// error as "Error: <file>: <reason>", so a start-up with none left can stop early.
#pragma once

#include <string>
#include <vector>

#include "pictures/picture.h"

struct UserPicture {
    std::string name;  // as the user gave it, for messages
    std::string stem;  // the file name without folder and extension, for review file names
    Picture picture;
};

// Loads each file (paths relative to the working directory) in order, skipping those that
// fail after reporting them. The result keeps the given order.
std::vector<UserPicture> loadUserPictures(const std::vector<std::string>& paths);

// "name" without its folders and last extension; "picture" when nothing is left.
std::string pictureStem(const std::string& name);
