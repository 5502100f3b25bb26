// POSIX file mapping: open, check it is a non-empty regular file, mmap read-only. The
// descriptor is closed at once; the mapping stays valid until it is unmapped.
#include "image/file_mapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "image/native_path.h"

FileMapping::~FileMapping() {
    close();
}

bool FileMapping::open(const char* path) {
    close();
    if (path == nullptr) return false;
    if (openExact(path)) return true;
    const std::string translated = nativePath(path);
    return translated != path && openExact(translated.c_str());
}

bool FileMapping::openExact(const char* path) {
    const int descriptor = ::open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    struct stat status {};
    void* address = MAP_FAILED;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        address = ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_PRIVATE,
                         descriptor, 0);
    }
    ::close(descriptor);
    if (address == MAP_FAILED) return false;
    address_ = address;
    size_ = static_cast<std::size_t>(status.st_size);
    return true;
}

void FileMapping::close() {
    if (address_ != nullptr) ::munmap(address_, size_);
    address_ = nullptr;
    size_ = 0;
}
