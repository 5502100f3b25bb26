// POSIX file mapping: open, check it is a non-empty regular file, mmap read-only. A folder,
// device or pipe is refused before any byte is read, so none can make a load wait or read
// without end. The descriptor is closed at once; the mapping stays valid until it is unmapped.
#include "files/file_mapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "files/native_path.h"

namespace {

// The loader reads every byte of a picture file: mapping all its pages in one call costs less
// than taking a fault every few pages.
#if defined(MAP_POPULATE)
constexpr int kPopulate = MAP_POPULATE;
#else
constexpr int kPopulate = 0;
#endif

// The largest picture the loader accepts is 2^27 pixels of 4 bytes (512 MiB). A larger file is
// mapped page by page as it is read, so that a huge file that is no picture at all is turned
// down after its header, not after reading it whole.
constexpr std::uint64_t kPopulatedMaximum = std::uint64_t{520} << 20;

}  // namespace

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
    // Without O_NONBLOCK, opening a pipe would wait for a writer that may never come.
    const int descriptor = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return false;
    struct stat status {};
    void* address = MAP_FAILED;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        const std::uint64_t size = static_cast<std::uint64_t>(status.st_size);
        address = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ,
                         MAP_PRIVATE | (size <= kPopulatedMaximum ? kPopulate : 0), descriptor, 0);
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
