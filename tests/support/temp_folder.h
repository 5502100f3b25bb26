// Files for tests in folders of their own: each TempFolder is a fresh, uniquely named folder
// under the system's temporary folder, removed with everything in it when it goes, so tests
// running side by side (ctest -j, several builds) never share a file.
#pragma once

#include <string>
#include <string_view>

namespace testsupport {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes text to the named file in the folder (sub-folders are made) and returns its path.
    std::string write(const std::string& name, std::string_view text) const;
    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    const std::string& folder() const { return folder_; }

    // The whole content of a file, empty when it cannot be read.
    static std::string read(const std::string& path);

  private:
    std::string folder_;
};

// Makes folder the working folder while it lives.
class InFolder {
  public:
    explicit InFolder(const std::string& folder);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

  private:
    std::string previous_;
};

}  // namespace testsupport
