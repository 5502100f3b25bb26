// The MTL side of the reader: finds a material's entry in its library and copies its colours,
// opacity and texture maps (with their clamp, offset and scale options) into the store.
// Each "usemtl" line makes a material of its own; the library text is kept in memory for the
// length of one model load and indexed by name, and an entry read once is copied from its
// first material after that, so many "usemtl" lines stay cheap.
#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "obj/obj_internal.h"
#include "obj/reader.h"
#include "obj/text_scan.h"

namespace obj {

namespace {

// Largest library read; the rest of a larger file is ignored. Real material libraries are a
// few kilobytes, and the cap bounds the memory one load can take for its library.
constexpr std::size_t kMaxLibraryBytes = std::size_t{64} << 20;

// Hashes names given as strings or string views alike, so that looking a name up makes no
// copy of it.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        return std::hash<std::string_view>{}(name);
    }
};

struct LibraryEntry {
    std::size_t offset;  // of the line after the first "newmtl" line of the name
    // The material of file `file` that was read from this entry first, -1 while none: later
    // "usemtl" lines of the name copy it instead of reading the entry again.
    int file = -1;
    int material = -1;
};

struct MaterialLibrary {
    std::string path;     // the library path these contents belong to
    bool opened = false;  // whether that path could be opened
    std::string text;     // the whole library
    std::unordered_map<std::string, LibraryEntry, NameHash, std::equal_to<>> entries;
};

MaterialLibrary library;

// Whether the library in memory is the one at directory/libraryName.
bool isLibraryPath(std::string_view directory, std::string_view libraryName) {
    std::string_view path = library.path;
    return path.size() == directory.size() + 1 + libraryName.size() &&
           path.substr(0, directory.size()) == directory && path[directory.size()] == '/' &&
           path.substr(directory.size() + 1) == libraryName;
}

void loadLibrary(const std::string& path) {
    library = MaterialLibrary{};
    library.path = path;
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream) return;
    library.opened = true;
    char block[1 << 14];
    std::size_t got = 0;
    while (library.text.size() < kMaxLibraryBytes &&
           (got = std::fread(block, 1, sizeof block, stream)) > 0) {
        library.text.append(block, std::min(got, kMaxLibraryBytes - library.text.size()));
    }
    std::fclose(stream);

    std::string_view rest = library.text;
    std::string_view line;
    while (takeLine(rest, line)) {
        KeywordLine split = splitKeyword(line);
        if (split.keyword != "newmtl") continue;
        TextCursor cursor(split.argument);
        std::string_view name = scanToken(cursor);
        if (name.empty()) continue;
        library.entries.try_emplace(std::string(name),
                                    LibraryEntry{library.text.size() - rest.size()});
    }
}

// The tokens that select a slot: a map line or a colour line.
constexpr std::string_view kMapKeywords[kindCount] = {"map_Kd", "map_Ka", "map_Ke", "map_Ks",
                                                      "map_Ns"};
constexpr std::string_view kColorKeywords[kindCount] = {"Kd", "Ka", "Ke", "Ks", "Ns"};

// One material line in the reading state, dispatched in the fixed order of tests.
void readMaterialLine(const KeywordLine& line, int fi, int mi, std::string_view directory) {
    for (int ki = 0; ki < kindCount; ++ki) {
        if (line.keyword == kMapKeywords[ki]) return readMap(fi, mi, ki, line.argument, directory);
    }
    for (int ki = 0; ki < kindCount; ++ki) {
        if (line.keyword == kColorKeywords[ki]) return readColor(fi, mi, ki, line.argument);
    }
    if (line.keyword == "d") readOpacity(fi, mi, line.argument);
}

// " -clamp %s": the option and its value word.
bool scanClampOption(TextCursor& cursor, bool& clamp) {
    TextCursor at = cursor;
    skipBlanks(at);
    if (!scanLiteral(at, "-clamp")) return false;
    std::string_view value = scanToken(at);
    if (value.empty()) return false;
    clamp = value == "on";
    cursor = at;
    return true;
}

// " -s %f %f %f", " -s %f %f", " -s %f" and the same for "-o": the option with as many of
// its three numbers as are given, at least one.
bool scanVectorOption(TextCursor& cursor, std::string_view option, float* target) {
    TextCursor at = cursor;
    skipBlanks(at);
    if (!scanLiteral(at, option)) return false;
    float values[3];
    int read = scanFloats(at, values, 3);
    if (read == 0) return false;
    for (int i = 0; i < read; ++i) target[i] = values[i];
    cursor = at;
    return true;
}

}  // namespace

void forgetLibrary() {
    library = MaterialLibrary{};
}

void readMaterial(std::string_view directory, std::string_view libraryName, std::string_view name,
                  int fi, int mi) {
    // Without a library name (a "usemtl" before any "mtllib") there is nothing to open.
    if (libraryName.empty() || name.empty()) return;
    if (!isLibraryPath(directory, libraryName)) {
        std::string path;
        path.append(directory).append("/").append(libraryName);
        loadLibrary(path);
    }
    if (!library.opened) return;
    auto found = library.entries.find(name);
    if (found == library.entries.end()) return;
    LibraryEntry& entry = found->second;
    // Tests that make allocations fail see every step of a read, so they get no copies.
    bool copies = !allocationHooked();
    if (copies && entry.file == fi && copyMaterial(fi, entry.material, mi)) return;

    std::string nameText(name);
    setMaterialName(fi, mi, nameText.c_str());
    std::string_view rest = std::string_view(library.text).substr(entry.offset);
    std::string_view line;
    while (takeLine(rest, line)) {
        KeywordLine split = splitKeyword(line);
        if (split.keyword == "newmtl") break;
        readMaterialLine(split, fi, mi, directory);
    }
    if (copies) {
        entry.file = fi;
        entry.material = mi;
    }
}

void readMap(int fi, int mi, int ki, std::string_view argument, std::string_view directory) {
    bool clamp = false;
    float offset[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    std::string_view fileName;

    TextCursor cursor(argument);
    while (!cursor.atEnd() && *cursor.at != '\r' && *cursor.at != '\n') {
        if (scanClampOption(cursor, clamp)) continue;
        if (scanVectorOption(cursor, "-s", scale)) continue;
        if (scanVectorOption(cursor, "-o", offset)) continue;
        // Any other word is taken for the file name; the last one wins. Text that is not a
        // word (blanks before the end of the line) ends the scan.
        std::string_view word = scanToken(cursor);
        if (word.empty()) break;
        fileName = word;
    }
    // A map line that names no file leaves the slot as it was.
    if (fileName.empty()) return;

    std::string path;
    path.append(directory).append("/").append(fileName);
    setMaterialFlags(fi, mi, ki, clamp ? MAP_CLAMP : 0);
    setMaterialMap(fi, mi, ki, path.c_str());
    setMaterialOffset(fi, mi, ki, offset);
    setMaterialScale(fi, mi, ki, scale);
}

void readColor(int fi, int mi, int ki, std::string_view argument) {
    float color[4];
    getMaterialColor(fi, mi, ki, color);
    TextCursor cursor(argument);
    scanFloats(cursor, color, 3);
    setMaterialColor(fi, mi, ki, color);
}

void readOpacity(int fi, int mi, std::string_view argument) {
    float color[4];
    getMaterialColor(fi, mi, diffuse, color);
    TextCursor cursor(argument);
    scanFloat(cursor, color[3]);
    setMaterialColor(fi, mi, diffuse, color);
}

}  // namespace obj
