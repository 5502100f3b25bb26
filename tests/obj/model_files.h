// Model files for the model library tests: fixtures write small OBJ and MTL texts into a
// temporary folder and load them with createFile, then the folder is removed.
#pragma once

#include <string_view>

#include "tests/support/temp_folder.h"

namespace testsupport {

// The model tests' name for a temporary folder.
using ModelFolder = TempFolder;

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

// Loads the OBJ text (with an optional MTL library written as "lib.mtl") through createFile
// from a fresh folder and returns the file index.
int loadModel(std::string_view objText, std::string_view mtlText = {});

}  // namespace testsupport
