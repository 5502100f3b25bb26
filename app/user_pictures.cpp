// loadUserPictures over the image library's loader; what it does not know is tried as a video.
#include "app/user_pictures.h"

#include <cstdio>
#include <filesystem>

#include "app/user_cell_size.h"
#include "app/user_videos.h"
#include "frames/picture_source.h"
#include "pictures/picture_file.h"

std::vector<UserPicture> loadUserPictures(const std::vector<std::string>& paths) {
    std::vector<UserPicture> loaded;
    for (const std::string& path : paths) {
        Picture picture;
        PictureLimits limits;
        limits.largestReduction = largestPictureReduction;
        PictureOutcome outcome = loadPicture(path.c_str(), picture, limits);
        if (outcome.status == PictureStatus::unknownFormat) {
            // Content that is no video either is said to be neither, whatever its name.
            PictureOutcome videoOutcome;
            if (auto video = openUserVideo(path, videoOutcome)) {
                loaded.push_back({path, std::move(video)});
                continue;
            }
            outcome = videoOutcome;
        }
        if (!outcome.ok()) {
            std::fprintf(stderr, "Error: %s: %s\n", path.c_str(), outcome.reason.c_str());
            std::fflush(stderr);
            continue;
        }
        if (!outcome.warning.empty()) {
            std::fprintf(stderr, "Warning: %s: %s\n", path.c_str(), outcome.warning.c_str());
            std::fflush(stderr);
        }
        loaded.push_back({path, std::make_unique<PictureSource>(std::move(picture), path)});
    }
    return loaded;
}

std::string pictureStem(const std::string& name) {
    const std::string stem = std::filesystem::path(name).stem().string();
    return stem.empty() ? "picture" : stem;
}
