// Temporary model folders for the model library tests.
#include "tests/obj/model_files.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "obj/obj.h"

namespace testsupport {

ModelFolder::ModelFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "glimmer-model-XXXXXX");
    folder_ = mkdtemp(pattern.data()) ? pattern : std::string();
    EXPECT_FALSE(folder_.empty()) << "cannot make a temporary folder";
}

ModelFolder::~ModelFolder() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

std::string ModelFolder::write(const std::string& name, std::string_view text) const {
    std::string file = path(name);
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    EXPECT_TRUE(out.good()) << "cannot write " << file;
    return file;
}

std::string ModelFolder::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CommaLocale::CommaLocale() {
    std::string command =
        "localedef -i de_DE -f UTF-8 " + folder_.path("de_DE.UTF-8") + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    setenv("LOCPATH", folder_.folder().c_str(), 1);
    active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

CommaLocale::~CommaLocale() {
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
}

InFolder::InFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

InFolder::~InFolder() {
    std::filesystem::current_path(previous_);
}

int loadModel(std::string_view objText, std::string_view mtlText) {
    ModelFolder folder;
    if (!mtlText.empty()) folder.write("lib.mtl", mtlText);
    return obj::createFile(folder.write("model.obj", objText).c_str());
}

}  // namespace testsupport
