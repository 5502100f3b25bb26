// loadPicture: maps the file and decodes it; when the mapping fails, asks the file system why.
#include "pictures/picture_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/file_mapping.h"
#include "pictures/picture_decoder.h"

namespace {

LoadOutcome whyNotMapped(const char* path) {
    struct stat status {};
    if (::stat(path, &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return loadFailure(LoadStatus::missing, "file not found");
        }
        return loadFailure(LoadStatus::unreadable,
                           std::string("cannot read the file (") + std::strerror(errno) + ")");
    }
    if (S_ISDIR(status.st_mode)) {
        return loadFailure(LoadStatus::unreadable, "cannot read the file (it is a folder)");
    }
    if (!S_ISREG(status.st_mode)) {
        return loadFailure(LoadStatus::unreadable, "cannot read the file (not a regular file)");
    }
    if (status.st_size == 0) return loadFailure(LoadStatus::truncated, "empty file");
    std::FILE* probe = std::fopen(path, "rb");
    const int openError = errno;
    if (probe != nullptr) std::fclose(probe);
    return loadFailure(LoadStatus::unreadable,
                       std::string("cannot read the file (") +
                           std::strerror(probe != nullptr ? EIO : openError) + ")");
}

}  // namespace

LoadOutcome loadPicture(const char* path, Picture& picture, const PictureLimits& limits) {
    if (path == nullptr || *path == '\0') {
        return loadFailure(LoadStatus::missing, "file not found");
    }
    FileMapping mapping;
    if (!mapping.open(path)) return whyNotMapped(path);
    return decodePicture(mapping.bytes(), picture, limits);
}
