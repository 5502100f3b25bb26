// Finding the program's data (Shaders/, Textures/, Models/) when it is started from another
// folder. The data paths stay relative, so the program changes into the folder that has them.
#pragma once

#include <string>
#include <vector>

// Folders tried after the working directory: beside the executable, the installed data folder
// (../share/glimmerboard from the executable) and the source tree the program was built from.
std::vector<std::string> dataFolderCandidates();

// Stays when ./Shaders is there; otherwise changes into the first candidate that has a
// Shaders folder. False when none has one (the program then runs on, as it would have).
bool enterDataFolder();

// path made absolute against the working directory, so it survives enterDataFolder.
std::string absolutePath(const std::string& path);
