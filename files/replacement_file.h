// Writing a file so that it is never left half-written: the bytes go to a temporary file in the
// target's folder, which takes the target's place by rename only once every byte has been
// written, flushed and closed without error. Every file that the program, the tools and the
// model library write goes through here.
//
// Targets that are not regular files: a folder is refused (EISDIR); a character device or a pipe
// (/dev/full, /dev/null, /dev/stdout on a terminal) cannot be replaced by rename and is written
// in place, still with every error reported; a symbolic link is followed, so the file it names
// is replaced and the link stays. A read-only target is refused as an open for writing would be.
// The replacement keeps the old file's permission bits; a new file gets 0666 less the umask. As
// with any rename, the new file belongs to the writing user and other hard links to the old
// file keep the old contents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Text is written as given on POSIX systems; a port whose text files have other line ends
// translates the text kind only.
enum class FileContent { binary, text };

class ReplacementFile {
  public:
    ReplacementFile() = default;
    ~ReplacementFile();  // discards what was not committed
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the temporary file beside path (or opens a target that is written in place).
    // False on failure, with error() set; nothing has been touched then.
    bool open(const char* path, FileContent content = FileContent::binary);

    // Appends bytes. Once a write has failed, later writes do nothing and return false.
    bool write(const void* data, std::size_t size);
    bool write(std::string_view text) { return write(text.data(), text.size()); }

    // Syncs and closes the temporary file and renames it over the target. False with error()
    // set when this or any earlier step failed: the temporary file is then gone and the target
    // has its old contents (a target written in place has whatever reached it).
    bool commit();

    // Removes the temporary file without touching the target.
    void discard();

    bool isOpen() const { return descriptor_ >= 0; }
    // errno value of the first failure, 0 while there is none.
    int error() const { return error_; }

  private:
    bool fail(int error);
    bool flush();
    bool writeOut(const char* bytes, std::size_t size);

    int descriptor_ = -1;
    std::string target_;
    std::string temporary_;  // empty when the target is written in place
    std::string buffer_;     // bytes not yet handed to the system
    int error_ = 0;
};

// Replaces the contents of path with bytes. Returns 0, or the errno value of the failure.
int replaceFile(const char* path, std::span<const std::uint8_t> bytes);
// The same for text, written as FileContent::text.
int replaceTextFile(const char* path, std::string_view text);

// replaceFile for callers that need no reason: false on any failure.
bool writeFileBytes(const char* path, const std::vector<std::uint8_t>& bytes);
