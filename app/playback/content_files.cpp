// Format detection picks the decoder: the picture loader for what it knows, the video input for
// everything else.
#include "app/playback/content_files.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "app/core/content_cell_size.h"
#include "frames/picture_source.h"
#include "pictures/picture_file.h"
#include "pictures/picture_format.h"
#include "video/video_source.h"

namespace {

// Enough for every picture format's signature.
constexpr std::size_t kSignatureBytes = 16;

bool isVideoFile(const std::string& path) {
    std::array<std::uint8_t, kSignatureBytes> head{};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    const std::size_t read = std::fread(head.data(), 1, head.size(), file);
    std::fclose(file);
    return read > 0 && detectPictureFormat({head.data(), read}) == PictureFormat::unknown;
}

}  // namespace

std::unique_ptr<FrameSource> openContentFile(const std::string& path, LoadOutcome& outcome) {
    if (isVideoFile(path)) return VideoSource::open(path, path, outcome);
    Picture picture;
    PictureLimits limits;
    limits.largestReduction = largestPictureReduction;
    outcome = loadPicture(path.c_str(), picture, limits);
    if (!outcome.ok()) return nullptr;
    return std::make_unique<PictureSource>(std::move(picture), path);
}

std::vector<Content> openContentFiles(const std::vector<std::string>& paths) {
    std::vector<Content> opened;
    for (const std::string& path : paths) {
        LoadOutcome outcome;
        std::unique_ptr<FrameSource> source = openContentFile(path, outcome);
        if (source == nullptr) {
            std::fprintf(stderr, "Error: %s: %s\n", path.c_str(), outcome.reason.c_str());
            std::fflush(stderr);
            continue;
        }
        if (!outcome.warning.empty()) {
            std::fprintf(stderr, "Warning: %s: %s\n", path.c_str(), outcome.warning.c_str());
            std::fflush(stderr);
        }
        opened.push_back({path, std::move(source)});
    }
    return opened;
}

std::string contentStem(const std::string& name) {
    const std::string stem = std::filesystem::path(name).stem().string();
    return stem.empty() ? "picture" : stem;
}
