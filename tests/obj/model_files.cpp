// Model files and a comma locale for the model library tests.
#include "tests/obj/model_files.h"

#include <clocale>
#include <cstdlib>

#include "obj/obj.h"

namespace testsupport {

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

int loadModel(std::string_view objText, std::string_view mtlText) {
    ModelFolder folder;
    if (!mtlText.empty()) folder.write("lib.mtl", mtlText);
    return obj::createFile(folder.write("model.obj", objText).c_str());
}

}  // namespace testsupport
