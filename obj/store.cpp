// The file table of the model library and the memory services every store operation uses:
// index-test failure, the allocation hook, array growth and removal, string copies.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "obj/obj_internal.h"

namespace obj {

ObjFile* files = nullptr;
int fc = 0;
int fileCap = 0;

namespace {

AllocationHook allocationHook = nullptr;

}  // namespace

void failAssertion(const char* text) {
    std::fprintf(stderr, "Assertion failed: %s\n", text);
    std::fflush(stderr);
    std::abort();
}

void setAllocationHook(AllocationHook hook) {
    allocationHook = hook;
}

bool allocationHooked() {
    return allocationHook != nullptr;
}

void* reallocateMemory(void* block, std::size_t bytes) {
    if (allocationHook) return allocationHook(block, bytes);
    return std::realloc(block, bytes);
}

void freeMemory(void* block) {
    std::free(block);
}

namespace {

// The growing half of growArray, kept out of line so that its common case, a free slot,
// saves and restores no registers: the reader calls it for every vertex and triangle.
[[gnu::noinline]] int growFullArray(void** array, int* count, int* capacity, int recordSize) {
    // Capacities stay ints like every count of the module; refuse a doubling past INT_MAX.
    if (*capacity > 0x3fffffff) return -1;
    int newCapacity = *capacity <= 0 ? 2 : *capacity * 2;
    std::size_t bytes =
        static_cast<std::size_t>(newCapacity) * static_cast<std::size_t>(recordSize);
    void* grown = reallocateMemory(*array, bytes);
    if (!grown) return -1;
    *array = grown;
    *capacity = newCapacity;
    return (*count)++;
}

}  // namespace

int growArray(void** array, int* count, int* capacity, int recordSize) {
    if (*count < *capacity) return (*count)++;
    return growFullArray(array, count, capacity, recordSize);
}

void removeRecord(void* array, int* count, int index, int recordSize) {
    char* bytes = static_cast<char*>(array);
    std::size_t later = static_cast<std::size_t>(*count - index - 1);
    std::memmove(bytes + static_cast<std::size_t>(index) * recordSize,
                 bytes + static_cast<std::size_t>(index + 1) * recordSize, later * recordSize);
    --*count;
}

char* replaceString(char* old, const char* text) {
    if (old) freeMemory(old);
    if (!text) return nullptr;
    std::size_t bytes = std::strlen(text) + 1;
    char* copy = static_cast<char*>(reallocateMemory(nullptr, bytes));
    if (copy) std::memcpy(copy, text, bytes);
    return copy;
}

int createFile(const char* path) {
    int fi = growArray(&files, &fc, &fileCap);
    if (fi < 0) return -1;
    std::memset(file(fi), 0, sizeof(ObjFile));
    if (path) {
        readObj(fi, path);
        cleanFile(fi);
        finishFile(fi, true);
    }
    return fi;
}

void releaseFile(int fi) {
    releaseVertexBuffer(fi);
    ObjFile* f = file(fi);
    for (int mi = 0; mi < f->mc; ++mi) releaseMaterial(fi, mi);
    for (int si = 0; si < f->sc; ++si) releaseSurface(fi, si);
    freeMemory(f->materials);
    freeMemory(f->vertices);
    freeMemory(f->surfaces);
    f->materials = nullptr;
    f->vertices = nullptr;
    f->surfaces = nullptr;
}

void deleteFile(int fi) {
    OBJ_CHECK(0 <= fi && fi < fc);
    releaseFile(fi);
    removeRecord(files, &fc, fi, sizeof(ObjFile));
}

int fileCount() {
    return fc;
}

}  // namespace obj
