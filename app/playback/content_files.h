// The user's content: files opened before the window opens, each one a source of frames over
// time as anything else the billboard can show. Each failure is reported on standard error as
// "Error: <file>: <reason>", so a start-up with none left can stop early.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frames/frame_source.h"
#include "files/load_outcome.h"

// Content as it was given: its name (the file, or a feed's protocol) and its source.
struct Content {
    std::string name;  // for messages and review file names
    std::unique_ptr<FrameSource> source;
};

// The file at path as a source: a picture or animation when its first bytes are those of a
// picture format (or when there are none to read, so the loader can say why), a video
// otherwise. Null with outcome saying why it is neither.
std::unique_ptr<FrameSource> openContentFile(const std::string& path, LoadOutcome& outcome);

// Opens each file (paths relative to the working directory) in order, skipping those that
// fail after reporting them. The result keeps the given order.
std::vector<Content> openContentFiles(const std::vector<std::string>& paths);

// "name" without its folders and last extension; "picture" when nothing is left.
std::string contentStem(const std::string& name);
