// Read-only mapping of a whole file into memory, so the loader reads a picture in place
// instead of copying it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class FileMapping {
  public:
    FileMapping() = default;
    ~FileMapping();
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    // Maps the existing regular file at path. Fails for a missing, unreadable or empty file
    // (an empty file has nothing to map) and for anything but a regular file: a folder, a
    // device such as /dev/zero, or a pipe, without waiting for the pipe's writer. A path written
    // with backslashes, as the picture catalogue names its files, is also tried with forward
    // slashes.
    bool open(const char* path);

    std::span<const std::uint8_t> bytes() const {
        return {static_cast<const std::uint8_t*>(address_), size_};
    }

  private:
    bool openExact(const char* path);
    void close();

    void* address_ = nullptr;
    std::size_t size_ = 0;
};
