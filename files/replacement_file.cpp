// POSIX replacement: an exclusive temporary file in the target's folder, fsync, close, rename.
// rename replaces an existing target in one step here; a Windows port needs ReplaceFileW or
// MoveFileExW with MOVEFILE_REPLACE_EXISTING instead, and keeps that behind this same class.
#include "files/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// Attempts at a free temporary name before giving up; a clash needs a stale file left by an
// earlier process with the same id.
constexpr int kNameAttempts = 100;

// Small writes are gathered up to this size, so a caller may write row by row or word by word
// without a system call each.
constexpr std::size_t kBufferSize = std::size_t{1} << 16;

// Folder part of path with its trailing separator, empty for a bare name.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a symbolic link names, so that the link survives the replacement.
std::string resolvedPath(const char* path) {
    struct stat link {};
    if (::lstat(path, &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* real = ::realpath(path, nullptr);
    if (real == nullptr) return path;
    std::string resolved = real;
    std::free(real);
    return resolved;
}

}  // namespace

ReplacementFile::~ReplacementFile() {
    discard();
}

bool ReplacementFile::fail(int error) {
    if (error_ == 0) error_ = error != 0 ? error : EIO;
    return false;
}

bool ReplacementFile::open(const char* path, FileContent) {
    discard();
    error_ = 0;
    if (path == nullptr || *path == '\0') return fail(ENOENT);
    struct stat status {};
    const bool exists = ::stat(path, &status) == 0;
    if (!exists && errno != ENOENT) return fail(errno);
    if (exists && S_ISDIR(status.st_mode)) return fail(EISDIR);
    if (exists && !S_ISREG(status.st_mode)) {
        descriptor_ = ::open(path, O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (descriptor_ < 0) return fail(errno);
        target_ = path;
        return true;
    }
    target_ = exists ? resolvedPath(path) : std::string(path);
    if (exists && ::access(target_.c_str(), W_OK) != 0) return fail(errno);

    const std::size_t slash = target_.rfind('/');
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    static std::atomic<unsigned> counter = 0;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary_ = folderOf(target_) + "." + name + "." + std::to_string(::getpid()) + "-" +
                     std::to_string(counter++) + ".tmp";
        descriptor_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0 || errno != EEXIST) break;
    }
    if (descriptor_ < 0) {
        temporary_.clear();
        return fail(errno);
    }
    if (exists && ::fchmod(descriptor_, status.st_mode & 07777) != 0) {
        const int error = errno;
        discard();
        return fail(error);
    }
    return true;
}

bool ReplacementFile::write(const void* data, std::size_t size) {
    if (descriptor_ < 0) return fail(EBADF);
    if (error_ != 0) return false;
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + size <= kBufferSize) {
        buffer_.append(bytes, size);
        return true;
    }
    return flush() && writeOut(bytes, size);
}

bool ReplacementFile::flush() {
    const bool written = writeOut(buffer_.data(), buffer_.size());
    buffer_.clear();
    return written;
}

bool ReplacementFile::writeOut(const char* bytes, std::size_t size) {
    while (size > 0 && error_ == 0) {
        const ssize_t written = ::write(descriptor_, bytes, size < SSIZE_MAX ? size : SSIZE_MAX);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return fail(written < 0 ? errno : ENOSPC);
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return error_ == 0;
}

bool ReplacementFile::commit() {
    if (descriptor_ < 0) return fail(EBADF);
    if (error_ == 0) flush();
    // Only a regular file is synced: devices and pipes have nothing to sync and may refuse.
    if (error_ == 0 && !temporary_.empty() && ::fsync(descriptor_) != 0) fail(errno);
    if (::close(descriptor_) != 0) fail(errno);
    descriptor_ = -1;
    if (error_ == 0 && !temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        fail(errno);
    }
    if (error_ != 0) {
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void ReplacementFile::discard() {
    buffer_.clear();
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

namespace {

int replaceWith(const char* path, const void* data, std::size_t size, FileContent content) {
    ReplacementFile file;
    if (file.open(path, content) && file.write(data, size)) file.commit();
    return file.error();
}

}  // namespace

int replaceFile(const char* path, std::span<const std::uint8_t> bytes) {
    return replaceWith(path, bytes.data(), bytes.size(), FileContent::binary);
}

int replaceTextFile(const char* path, std::string_view text) {
    return replaceWith(path, text.data(), text.size(), FileContent::text);
}

bool writeFileBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
    return replaceFile(path, bytes) == 0;
}
