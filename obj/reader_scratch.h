// What one OBJ read holds besides the store and the material library: the attribute tables
// that corners index, the faces and lines read but not yet turned into vertices, and the
// parsed text. The tables and chunks keep their storage from one load to the next.
#pragma once

#include "obj/obj_internal.h"
#include "obj/parsed_text.h"

namespace obj {

// A position of the file and the newest corner that used it. Every corner still listed at a
// position (those a later corner may share a vertex with) has the same indices and group as
// the newest one: a corner that matches the list joins it as a copy of the match, and one
// that does not starts a new list. So the newest corner alone decides sharing, and the
// corners themselves need not be kept. Padded to 32 bytes so that, in the table's
// page-aligned storage, no record straddles two cache lines: corners look positions up at
// random, and a second miss costs more than the padding.
struct ObjPosition {
    float xyz[3];
    int vertex;  // store vertex of the newest corner, -1 when no corner used the position
    int vt;      // the newest corner's resolved texture-coordinate index
    int vn;      // its resolved normal index (a line corner without a match has -1)
    int group;   // its smoothing group (a line corner without a match has 0)
    int padding;
};
static_assert(sizeof(ObjPosition) == 32, "position records fill cache lines exactly");

struct ObjTexcoord {
    float uv[2];
};

struct ObjNormal {
    float xyz[3];
};

// A corner as read, its indices resolved against the tables as they stood on its line.
// Whether its texture coordinate and normal exist is decided then too: the tables may have
// grown by the time the corner becomes a vertex.
struct ReadCorner {
    int v;             // a valid position index: corners outside the position table are dropped
    int vt;            // -1 for none, or an index that may lie outside the table
    int vn;            // likewise; always -1 for a line corner
    bool hasTexcoord;  // vt lay inside the texture-coordinate table
    bool hasNormal;    // vn lay inside the normal table
};

// A face or line as read: a run of corners in the batch and where its triangles or
// segments go.
struct ReadElement {
    int first;  // first corner in the batch
    int count;
    int surface;
    int group;  // smoothing group of a face; 0 for a line
    bool isFace;
};

// A corner resolved to its vertex, while its face is triangulated.
struct PendingCorner {
    int vertex;
    int v;
    int vn;
};

// Doubles the storage of a scratch table of count records (huge pages for large tables, see
// scratch_memory.cpp); false, leaving the table as it was, when no memory is left.
bool growScratchTable(void** records, int count, int* capacity, std::size_t recordSize);

// A growable table whose count drops to 0 at every load while its storage is kept for the
// next one.
template <class T>
struct ScratchTable {
    T* records = nullptr;
    int count = 0;
    int capacity = 0;

    // The new last record, cleared; null when the table cannot grow.
    T* append() {
        if (count == capacity) {
            void* storage = records;
            if (!growScratchTable(&storage, count, &capacity, sizeof(T))) return nullptr;
            records = static_cast<T*>(storage);
        }
        records[count] = T{};
        return records + count++;
    }
    bool holds(int index) const { return 0 <= index && index < count; }
};

struct ReaderScratch {
    ScratchTable<ObjPosition> positions;
    ScratchTable<ObjTexcoord> texcoords;
    ScratchTable<ObjNormal> normals;
    // Faces and lines read since the last resolution, in file order.
    ScratchTable<ReadCorner> batch;
    ScratchTable<ReadElement> elements;
    // The corners of the element being triangulated.
    ScratchTable<PendingCorner> pending;
    // Chunks of text being parsed or waiting to be built: enough that the parsing thread
    // stays a few chunks ahead of the builder, few enough that they take no more memory than
    // parsing on one thread did. A model read on one thread uses the first.
    static constexpr int kParsedChunks = 4;
    ParsedChunk parsed[kParsedChunks];
};

extern ReaderScratch readerScratch;

// Corners wait in the batch until this many have gathered, so that the table records of
// the corners ahead can be fetched from memory while earlier ones are resolved.
inline constexpr int kBatchCorners = 4096;

// Once the first batch has shown how many vertices, triangles and materials the model's text
// makes per byte, sizes the large ones of the vertex and material arrays (and the triangle
// array of surface si when it is the only one that faces went to) for the whole model,
// `scale` times what was made so far, in memory backed by huge pages, but for no more records
// than the restBytes of text still to read can hold. Later growth, when the guess falls
// short, doubles as always.
void reserveForModel(ObjFile* model, int si, double scale, long long restBytes);

// Turns the batched faces and lines, in order, into shared vertices, triangles and segments
// of the model, then empties the batch.
void resolveBatch(ObjFile* model);

}  // namespace obj
