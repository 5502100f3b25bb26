// The data folder search: /proc/self/exe names the executable on Linux; elsewhere only the
// built-in folders are tried.
#include "app/data_folder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kProbeFolder = "Shaders";

bool hasData(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder / kProbeFolder, error);
}

}  // namespace

std::vector<std::string> dataFolderCandidates() {
    std::vector<std::string> folders;
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path folder = executable.parent_path();
        folders.push_back(folder.string());
        folders.push_back((folder / ".." / "share" / "glimmerboard").lexically_normal().string());
    }
#ifdef GLIMMER_SOURCE_DATA_DIR
    folders.push_back(GLIMMER_SOURCE_DATA_DIR);
#endif
    return folders;
}

bool enterDataFolder() {
    if (hasData(".")) return true;
    for (const std::string& folder : dataFolderCandidates()) {
        std::error_code error;
        if (!hasData(folder)) continue;
        fs::current_path(folder, error);
        if (!error) return true;
    }
    return false;
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.string();
}
