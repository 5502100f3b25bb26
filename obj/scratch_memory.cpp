// Storage of the reader's scratch tables. The tables are read at random (every corner looks up
// its position, normal and texture coordinate), so a large table lives in 2 MiB-aligned memory
// that the system is asked to back with huge pages: one TLB entry and one page fault then
// cover 2 MiB instead of 4 KiB. The tables are the reader's own and never reach the store, so
// they need not come from malloc.
#include "obj/reader_scratch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__unix__)
#include <sys/mman.h>
#endif

namespace obj {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Tables below this size stay in small pages: a huge page would make even a tiny model's
// table take 2 MiB of memory.
constexpr std::size_t kHugeTableBytes = 2 * kHugePage;

#if defined(__unix__)
void* mapTable(std::size_t bytes) {
    std::size_t total = bytes + kHugePage;
    void* raw = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    auto first = reinterpret_cast<std::uintptr_t>(raw);
    std::uintptr_t start = (first + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (start > first) munmap(raw, start - first);
    std::uintptr_t tail = start + bytes;
    if (first + total > tail) munmap(reinterpret_cast<void*>(tail), first + total - tail);
    if (bytes >= kHugeTableBytes) madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(start);
}

void unmapTable(void* table, std::size_t bytes) {
    if (table) munmap(table, bytes);
}
#else
void* mapTable(std::size_t bytes) {
    return reallocateMemory(nullptr, bytes);
}

void unmapTable(void* table, std::size_t) {
    freeMemory(table);
}
#endif

}  // namespace

bool growScratchTable(void** records, int count, int* capacity, std::size_t recordSize) {
    std::size_t oldBytes = static_cast<std::size_t>(*capacity) * recordSize;
    std::size_t wanted = std::max<std::size_t>(oldBytes * 2, 64 * recordSize);
    // Whole small pages below the huge-table size, whole huge pages above it.
    std::size_t unit = wanted >= kHugeTableBytes ? kHugePage : std::size_t{4096};
    std::size_t bytes = (wanted + unit - 1) / unit * unit;
    std::size_t records64 = bytes / recordSize;
    if (records64 > 0x7fffffff) return false;
    void* grown = mapTable(bytes);
    if (!grown) return false;
    if (count > 0) std::memcpy(grown, *records, static_cast<std::size_t>(count) * recordSize);
    unmapTable(*records, oldBytes);
    *records = grown;
    *capacity = static_cast<int>(records64);
    return true;
}

}  // namespace obj
