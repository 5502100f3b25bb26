// A video given on the command line, opened as a VideoSource under its own path as its name.
#include "app/user_videos.h"

#include "video/video_source.h"

std::unique_ptr<FrameSource> openUserVideo(const std::string& path, PictureOutcome& outcome) {
    return VideoSource::open(path, path, outcome);
}
