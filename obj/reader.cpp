// The OBJ side of the reader: reads positions, texture coordinates and normals into scratch
// tables, turns face and line corners into shared store vertices, triangulates faces as
// fans, accumulates smoothing-group face normals, and makes a material and a surface for
// every "usemtl" line.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "obj/obj_internal.h"
#include "obj/reader.h"
#include "obj/reader_scratch.h"
#include "obj/text_scan.h"

namespace obj {

namespace {

// Negative counts back from the newest entry, positive is 1-based, 0 (not given) is none.
int resolveIndex(int index, int count) {
    if (index < 0) return index + count;
    return index - 1;
}

void readPosition(std::string_view argument) {
    ObjPosition* position = readerScratch.positions.append();
    if (!position) return;
    TextCursor cursor(argument);
    scanFloats(cursor, position->xyz, 3);
    position->vertex = -1;
}

void readTexcoord(std::string_view argument) {
    ObjTexcoord* texcoord = readerScratch.texcoords.append();
    if (!texcoord) return;
    TextCursor cursor(argument);
    scanFloats(cursor, texcoord->uv, 2);
}

void readNormal(std::string_view argument) {
    ObjNormal* normal = readerScratch.normals.append();
    if (!normal) return;
    TextCursor cursor(argument);
    scanFloats(cursor, normal->xyz, 3);
}

// Reads the corner tokens of a face or line into the batch, their indices resolved against
// the tables as they stand now; the first token that is not a corner ends the list. A corner
// whose position index lies outside the position table has no position to share or to give
// a vertex, and is dropped.
void readElement(std::string_view argument, int surface, int group, bool isFace) {
    ReaderScratch& scratch = readerScratch;
    ReadElement* element = scratch.elements.append();
    if (!element) return;
    *element = ReadElement{scratch.batch.count, 0, surface, isFace ? group : 0, isFace};
    TextCursor cursor(argument);
    for (;;) {
        CornerIndices written;
        if (!scanCorner(cursor, isFace, written)) break;
        int v = resolveIndex(written.v, scratch.positions.count);
        if (!scratch.positions.holds(v)) continue;
        ReadCorner* corner = scratch.batch.append();
        if (!corner) continue;
        corner->v = v;
        corner->vt = resolveIndex(written.vt, scratch.texcoords.count);
        corner->vn = isFace ? resolveIndex(written.vn, scratch.normals.count) : -1;
        corner->hasTexcoord = scratch.texcoords.holds(corner->vt);
        corner->hasNormal = scratch.normals.holds(corner->vn);
        ++element->count;
    }
}

// Why the last read gave an empty file, null when it read its model.
const char* readError = nullptr;

// Opens the model for reading; null, with readError set, when it cannot be opened or is a
// folder (which the C library opens, but whose reading fails at once).
std::FILE* openModel(const char* path) {
    std::FILE* stream = std::fopen(path, "rb");
    if (!stream) {
        readError = std::strerror(errno);
        return nullptr;
    }
#ifdef S_ISDIR
    struct stat status {};
    if (fstat(fileno(stream), &status) == 0 && S_ISDIR(status.st_mode)) {
        readError = std::strerror(EISDIR);
        std::fclose(stream);
        return nullptr;
    }
#endif
    return stream;
}

// The size of a regular file, -1 for anything else.
long long streamSize(std::FILE* stream) {
#ifdef S_ISREG
    struct stat status {};
    if (fstat(fileno(stream), &status) == 0 && S_ISREG(status.st_mode)) return status.st_size;
#endif
    return -1;
}

// Sizes the store arrays for the whole model from the faces read so far, which took the text
// from firstFace to position of a model of modelBytes (-1 when unknown).
void sizeFromFirstFaces(ObjFile* model, int si, long long modelBytes, long long firstFace,
                        long long position) {
    double faceText = static_cast<double>(position - firstFace);
    if (modelBytes <= 0 || faceText <= 0) return;
    // Every corner takes at least two characters ("1 ").
    reserveForModel(model, si, (modelBytes - firstFace) / faceText, (modelBytes - firstFace) / 2);
}

// The lines the reader acts on; keywords are matched exactly and case-sensitively.
enum class LineKind { other, face, line, texcoord, normal, position, library, material, smoothing };

LineKind classifyLine(std::string_view keyword) {
    switch (keyword.size()) {
        case 1:
            switch (keyword[0]) {
                case 'f':
                    return LineKind::face;
                case 'l':
                    return LineKind::line;
                case 'v':
                    return LineKind::position;
                case 's':
                    return LineKind::smoothing;
            }
            break;
        case 2:
            if (keyword == "vt") return LineKind::texcoord;
            if (keyword == "vn") return LineKind::normal;
            break;
        case 6:
            if (keyword == "mtllib") return LineKind::library;
            if (keyword == "usemtl") return LineKind::material;
            break;
    }
    return LineKind::other;
}

// The "usemtl" step: a new material read from the library and a new surface that uses it.
// When either cannot be made, surface 0 becomes current.
int useMaterial(std::string_view directory, std::string_view libraryName, std::string_view argument,
                int fi) {
    TextCursor cursor(argument);
    std::string_view name = scanToken(cursor);
    int mi = createMaterial(fi);
    if (mi < 0) return 0;
    int si = createSurface(fi);
    if (si < 0) return 0;
    readMaterial(directory, libraryName, name, fi, mi);
    setSurfaceMaterial(fi, si, mi);
    return si;
}

}  // namespace

void readObj(int fi, const char* path) {
    readerScratch.positions.count = 0;
    readerScratch.texcoords.count = 0;
    readerScratch.normals.count = 0;
    readerScratch.batch.count = 0;
    readerScratch.elements.count = 0;
    readError = nullptr;
    std::FILE* stream = openModel(path);
    if (!stream) return;

    int mi = createMaterial(fi);
    int surface = mi < 0 ? -1 : createSurface(fi);
    if (surface < 0) {
        // Without a first surface no face has anywhere to go.
        std::fclose(stream);
        return;
    }
    setSurfaceMaterial(fi, surface, mi);
    int group = 0;
    std::string directory(directoryOf(path));
    std::string libraryName;
    forgetLibrary();

    LineReader reader(stream, maxModelBytes);
    // For sizing the store arrays once: the model's size (-1 for a pipe or device) and where
    // its first face or line starts.
    const long long modelBytes = streamSize(stream);
    long long firstFace = -1;
    bool reserved = false;
    std::string_view line;
    while (reader.next(line)) {
        KeywordLine split = splitKeyword(line);
        switch (classifyLine(split.keyword)) {
            case LineKind::face:
            case LineKind::line:
                if (firstFace < 0) firstFace = reader.position();
                readElement(split.argument, surface, group, split.keyword[0] == 'f');
                if (readerScratch.batch.count >= kBatchCorners) {
                    resolveBatch(file(fi));
                    if (!reserved) {
                        sizeFromFirstFaces(file(fi), surface, modelBytes, firstFace,
                                           reader.position());
                    }
                    reserved = true;
                }
                break;
            case LineKind::texcoord:
                readTexcoord(split.argument);
                break;
            case LineKind::normal:
                readNormal(split.argument);
                break;
            case LineKind::position:
                readPosition(split.argument);
                break;
            case LineKind::library: {
                // A later "mtllib" replaces the name; one without a name leaves it as it was.
                TextCursor cursor(split.argument);
                std::string_view name = scanToken(cursor);
                if (!name.empty()) libraryName = name;
                break;
            }
            case LineKind::material:
                surface = useMaterial(directory, libraryName, split.argument, fi);
                break;
            case LineKind::smoothing: {
                TextCursor cursor(split.argument);
                int number = 0;
                scanInt(cursor, number);  // "off" reads no number and means group 0
                group = number;
                break;
            }
            case LineKind::other:
                break;
        }
    }
    resolveBatch(file(fi));
    std::fclose(stream);
    forgetLibrary();
    if (reader.tooLong()) {
        // What was read of a model cut short is no model: the file is left empty.
        readError = "File is longer than the largest model read (1 GiB)";
        releaseFile(fi);
        *file(fi) = ObjFile{};
    }
}

const char* lastReadError() {
    return readError;
}

}  // namespace obj
