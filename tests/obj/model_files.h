// A temporary folder of small OBJ and MTL texts for the model library tests: fixtures write
// real files there and load them with createFile, then the folder is removed.
#pragma once

#include <string>
#include <string_view>

namespace testsupport {

class ModelFolder {
  public:
    ModelFolder();
    ~ModelFolder();
    ModelFolder(const ModelFolder&) = delete;
    ModelFolder& operator=(const ModelFolder&) = delete;

    // Writes text to the named file in the folder (sub-folders are made) and returns its path.
    std::string write(const std::string& name, std::string_view text) const;
    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    const std::string& folder() const { return folder_; }

    // The whole content of a file, empty when it cannot be read.
    static std::string read(const std::string& path);

  private:
    std::string folder_;
};

// Makes a German locale (decimal comma) the process's numeric locale while it lives. It is
// built with localedef in a temporary folder, where the system's locale sources are
// installed; active() tells whether that worked.
class CommaLocale {
  public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool active() const { return active_; }

  private:
    ModelFolder folder_;
    bool active_ = false;
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

// Loads the OBJ text (with an optional MTL library written as "lib.mtl") through createFile
// from a fresh folder and returns the file index.
int loadModel(std::string_view objText, std::string_view mtlText = {});

}  // namespace testsupport
