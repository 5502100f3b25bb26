// The user's files that no picture decoder takes, opened as videos: each one a source of
// frames that decodes on a thread of its own while it is shown.
#pragma once

#include <memory>
#include <string>

#include "frames/frame_source.h"
#include "pictures/picture.h"

// The video at path, or null with outcome saying why it is none.
std::unique_ptr<FrameSource> openUserVideo(const std::string& path, PictureOutcome& outcome);
