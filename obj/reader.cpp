// The OBJ side of the reader: reads positions, texture coordinates and normals into scratch
// tables, turns face and line corners into shared store vertices, triangulates faces as
// fans, accumulates smoothing-group face normals, and makes a material and a surface for
// every "usemtl" line.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "obj/obj_internal.h"
#include "obj/parsed_text.h"
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

void readPosition(const float* xyz) {
    ObjPosition* position = readerScratch.positions.append();
    if (!position) return;
    std::memcpy(position->xyz, xyz, sizeof position->xyz);
    position->vertex = -1;
}

void readTexcoord(const float* uv) {
    ObjTexcoord* texcoord = readerScratch.texcoords.append();
    if (texcoord) std::memcpy(texcoord->uv, uv, sizeof texcoord->uv);
}

void readNormal(const float* xyz) {
    ObjNormal* normal = readerScratch.normals.append();
    if (normal) std::memcpy(normal->xyz, xyz, sizeof normal->xyz);
}

// Starts a face or line in the batch; returns its index, -1 when it cannot be listed (its
// corners are then dropped).
int startElement(int surface, int group, bool isFace) {
    ReaderScratch& scratch = readerScratch;
    ReadElement* element = scratch.elements.append();
    if (!element) return -1;
    *element = ReadElement{scratch.batch.count, 0, surface, isFace ? group : 0, isFace};
    return scratch.elements.count - 1;
}

// Adds corners of element ei to the batch, their indices resolved against the tables as
// they stand now. A corner whose position index lies outside the position table has no
// position to share or to give a vertex, and is dropped.
void addCorners(int ei, const CornerIndices* written, int count, bool isFace) {
    ReaderScratch& scratch = readerScratch;
    if (ei < 0) return;
    ReadElement& element = scratch.elements.records[ei];
    for (int k = 0; k < count; ++k) {
        int v = resolveIndex(written[k].v, scratch.positions.count);
        if (!scratch.positions.holds(v)) continue;
        ReadCorner* corner = scratch.batch.append();
        if (!corner) continue;
        corner->v = v;
        corner->vt = resolveIndex(written[k].vt, scratch.texcoords.count);
        corner->vn = isFace ? resolveIndex(written[k].vn, scratch.normals.count) : -1;
        corner->hasTexcoord = scratch.texcoords.holds(corner->vt);
        corner->hasNormal = scratch.normals.holds(corner->vn);
        ++element.count;
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
    reserveForModel(model, si, (modelBytes - firstFace) / faceText, modelBytes - firstFace);
}

// The "usemtl" step: a new material read from the library and a new surface that uses it.
// When either cannot be made, surface 0 becomes current.
int useMaterial(std::string_view directory, std::string_view libraryName, std::string_view name,
                int fi) {
    int mi = createMaterial(fi);
    if (mi < 0) return 0;
    int si = createSurface(fi);
    if (si < 0) return 0;
    readMaterial(directory, libraryName, name, fi, mi);
    setSurfaceMaterial(fi, si, mi);
    return si;
}

// The order-dependent half of the reader: takes parsed chunks in file order and makes the
// model's vertices, triangles, segments, materials and surfaces from them.
struct ModelBuilder {
    ModelBuilder(int fi, int surface, std::string_view directory, long long modelBytes)
        : fi(fi), surface(surface), directory(directory), modelBytes(modelBytes) {}

    int fi;
    int surface;
    std::string directory;
    long long modelBytes;  // -1 for a pipe or device
    int group = 0;
    std::string libraryName;
    long long firstFace = -1;  // where the text of the first face or line ends
    bool reserved = false;     // the store arrays were sized for the whole model

    void take(const ParsedChunk& chunk);
};

void ModelBuilder::take(const ParsedChunk& chunk) {
    const float* numbers = chunk.numbers.data();
    const CornerIndices* corners = chunk.corners.data();
    const ParsedElement* elements = chunk.elements.data();
    const int* smoothing = chunk.smoothing.data();
    std::size_t word = 0;
    std::size_t wordStart = 0;
    for (ParsedKind kind : chunk.kinds) {
        switch (kind) {
            case ParsedKind::position:
                readPosition(numbers);
                numbers += 3;
                break;
            case ParsedKind::texcoord:
                readTexcoord(numbers);
                numbers += 2;
                break;
            case ParsedKind::normal:
                readNormal(numbers);
                numbers += 3;
                break;
            case ParsedKind::face:
            case ParsedKind::line: {
                const ParsedElement& parsed = *elements++;
                bool isFace = kind == ParsedKind::face;
                if (firstFace < 0) firstFace = parsed.after;
                addCorners(startElement(surface, group, isFace), corners, parsed.corners, isFace);
                corners += parsed.corners;
                if (readerScratch.batch.count >= kBatchCorners) {
                    resolveBatch(file(fi));
                    if (!reserved)
                        sizeFromFirstFaces(file(fi), surface, modelBytes, firstFace, parsed.after);
                    reserved = true;
                }
                break;
            }
            case ParsedKind::library:
            case ParsedKind::material: {
                std::size_t wordEnd = chunk.wordEnds[word++];
                std::string_view name(chunk.words.data() + wordStart, wordEnd - wordStart);
                wordStart = wordEnd;
                if (kind == ParsedKind::material) {
                    surface = useMaterial(directory, libraryName, name, fi);
                } else if (!name.empty()) {
                    // A later "mtllib" replaces the name; one without a name leaves it as it was.
                    libraryName = name;
                }
                break;
            }
            case ParsedKind::smoothing:
                group = *smoothing++;
                break;
        }
    }
}

// Models at least this large are parsed by a second thread while the reading thread builds;
// for smaller ones starting the thread costs more than it saves.
long long parallelParseBytes = 4LL << 20;

// How the text was read to its end: whole, longer than the largest model, or cut short by a
// lack of memory.
enum class TextEnd { whole, tooLong, noMemory };

TextEnd endOf(const ParsedChunk& chunk) {
    if (chunk.failed) return TextEnd::noMemory;
    return chunk.tooLong ? TextEnd::tooLong : TextEnd::whole;
}

// Takes, parses and builds in turn on this thread.
TextEnd parseInTurn(TextParser& parser, ModelBuilder& builder) {
    ParsedChunk& chunk = readerScratch.parsed[0];
    if (!chunk.reserve()) return TextEnd::noMemory;
    do {
        parser.take(chunk);
        chunk.parse();
        try {
            builder.take(chunk);
        } catch (...) {
            return TextEnd::noMemory;  // the names of a library or material found no room
        }
    } while (!chunk.ended);
    return endOf(chunk);
}

// Chunks on their way through two threads. Each thread parses the next chunk whose text no
// one has taken yet, while its slot is free; the reading thread builds the chunks in file
// order, and parses only while the next chunk to build is still being parsed by the other.
class ChunkPipeline {
  public:
    static constexpr int kSlots = ReaderScratch::kParsedChunks;

    ChunkPipeline(TextParser& parser, ParsedChunk* chunks) : parser_(parser), chunks_(chunks) {}

    // The parsing thread: parses chunks until the text is all taken or the builder stops.
    void parseAll() {
        std::unique_lock<std::mutex> lock(stateMutex_);
        while (!stopped_ && !textEnded_) {
            if (taken_ < built_ + kSlots) {
                lock.unlock();
                parseNext();
                lock.lock();
            } else {
                changed_.wait(lock);
            }
        }
    }

    // The reading thread: waits for chunk k to be parsed, parsing others meanwhile.
    ParsedChunk& awaitChunk(long long k) {
        std::unique_lock<std::mutex> lock(stateMutex_);
        while (!isParsed(k)) {
            if (!textEnded_ && taken_ < built_ + kSlots) {
                lock.unlock();
                parseNext();
                lock.lock();
            } else {
                changed_.wait(lock);
            }
        }
        return chunks_[k % kSlots];
    }

    // The reading thread is done with chunk k; `last` stops the parsing thread.
    void release(long long k, bool last) {
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            done_[k % kSlots] = false;
            built_ = k + 1;
            stopped_ = last;
        }
        changed_.notify_all();
    }

  private:
    bool isParsed(long long k) const { return done_[k % kSlots] && k < taken_; }

    // Takes the text of the next chunk and parses it; does nothing when another thread took
    // the last free slot or the end of the text first.
    void parseNext() {
        long long k;
        {
            std::lock_guard<std::mutex> textLock(textMutex_);
            {
                std::lock_guard<std::mutex> lock(stateMutex_);
                k = taken_;
                if (textEnded_ || k >= built_ + kSlots) return;
            }
            ParsedChunk& chunk = chunks_[k % kSlots];
            parser_.take(chunk);
            std::lock_guard<std::mutex> lock(stateMutex_);
            taken_ = k + 1;
            textEnded_ = chunk.ended;
        }
        chunks_[k % kSlots].parse();
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            done_[k % kSlots] = true;
        }
        changed_.notify_all();
    }

    TextParser& parser_;
    ParsedChunk* chunks_;
    std::mutex textMutex_;  // held while a chunk takes its text: the parser reads in order
    std::mutex stateMutex_;
    std::condition_variable changed_;
    long long taken_ = 0;     // chunks whose text was taken
    long long built_ = 0;     // chunks built, whose slots may take text again
    bool done_[kSlots] = {};  // the chunk in the slot is parsed
    bool textEnded_ = false;
    bool stopped_ = false;
};

// Parses on two threads while this one builds in file order. False when the second thread or
// the chunks cannot be had: nothing was parsed then.
bool parseAlongside(TextParser& parser, ModelBuilder& builder, TextEnd& end) {
    ParsedChunk* chunks = readerScratch.parsed;
    for (int k = 0; k < ChunkPipeline::kSlots; ++k) {
        if (!chunks[k].reserve()) return false;
    }
    ChunkPipeline pipeline(parser, chunks);
    std::thread worker;
    try {
        worker = std::thread([&pipeline] { pipeline.parseAll(); });
    } catch (...) {
        return false;
    }
    for (long long k = 0;; ++k) {
        ParsedChunk& chunk = pipeline.awaitChunk(k);
        end = endOf(chunk);
        bool last = chunk.ended;
        try {
            builder.take(chunk);
        } catch (...) {
            end = TextEnd::noMemory;
            last = true;
        }
        pipeline.release(k, last);
        if (last) break;
    }
    worker.join();
    return true;
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
    forgetLibrary();

    LineReader reader(stream, maxModelBytes);
    TextParser parser(reader);
    ModelBuilder builder(fi, surface, directoryOf(path), streamSize(stream));
    TextEnd end = TextEnd::whole;
    if (builder.modelBytes < parallelParseBytes || !parseAlongside(parser, builder, end)) {
        end = parseInTurn(parser, builder);
    }
    resolveBatch(file(fi));
    std::fclose(stream);
    forgetLibrary();
    if (end != TextEnd::whole) {
        // What was read of a model cut short is no model: the file is left empty.
        readError = end == TextEnd::tooLong ? "File is longer than the largest model read (1 GiB)"
                                            : "Not enough memory to read the model";
        releaseFile(fi);
        *file(fi) = ObjFile{};
    }
}

long long setParallelParseBytes(long long bytes) {
    return std::exchange(parallelParseBytes, bytes);
}

const char* lastReadError() {
    return readError;
}

}  // namespace obj
