// The parsing half of the OBJ reader: the text taken in chunks of whole lines, then lines
// classified by keyword, numbers converted and corner tokens split into their indices as
// written.
#include "obj/parsed_text.h"

#include <cstring>

namespace obj {

namespace {

// An eighth of a megabyte of text per chunk: enough that handing chunks between threads
// costs little beside parsing them, small enough that the chunks in flight stay in the cache.
constexpr std::size_t kChunkText = std::size_t{1} << 17;
// What the parsed lines of such a chunk usually take; a chunk of shorter lines grows its
// tables, and keeps them for the next.
constexpr std::size_t kChunkLines = 16384;
constexpr std::size_t kChunkCorners = 65536;

// Keywords are matched exactly and case-sensitively; false for a line the reader ignores.
bool classifyLine(std::string_view keyword, ParsedKind& kind) {
    switch (keyword.size()) {
        case 1:
            switch (keyword[0]) {
                case 'f':
                    kind = ParsedKind::face;
                    return true;
                case 'l':
                    kind = ParsedKind::line;
                    return true;
                case 'v':
                    kind = ParsedKind::position;
                    return true;
                case 's':
                    kind = ParsedKind::smoothing;
                    return true;
            }
            break;
        case 2:
            if (keyword == "vt") kind = ParsedKind::texcoord;
            if (keyword == "vn") kind = ParsedKind::normal;
            return keyword == "vt" || keyword == "vn";
        case 6:
            if (keyword == "mtllib") kind = ParsedKind::library;
            if (keyword == "usemtl") kind = ParsedKind::material;
            return keyword == "mtllib" || keyword == "usemtl";
    }
    return false;
}

// Reads up to `count` numbers of the argument into the chunk; those not given are 0.
void readNumbers(ParsedChunk& chunk, std::string_view argument, int count) {
    float values[3] = {0, 0, 0};
    TextCursor cursor(argument, true);
    scanFloats(cursor, values, count);
    // One value at a time: a range insert of two or three floats costs a call to memmove.
    for (int k = 0; k < count; ++k) chunk.numbers.push_back(values[k]);
}

}  // namespace

bool ParsedChunk::reserve() {
    try {
        text.reserve(kChunkText + (std::size_t{1} << 16));
        kinds.reserve(kChunkLines);
        numbers.reserve(3 * kChunkLines);
        corners.reserve(kChunkCorners);
        elements.reserve(kChunkLines);
        smoothing.reserve(kChunkLines);
        wordEnds.reserve(kChunkLines);
    } catch (...) {
        return false;
    }
    return true;
}

void TextParser::take(ParsedChunk& chunk) {
    chunk.text.clear();
    chunk.start = reader_.position();
    chunk.ended = chunk.tooLong = chunk.failed = false;
    bool tookReadLine = false;
    try {
        std::string_view lines;
        bool raw = true;
        while (chunk.text.size() < kChunkText && !tookReadLine) {
            if (!reader_.nextLines(lines, raw)) {
                chunk.ended = true;
                chunk.tooLong = reader_.tooLong();
                break;
            }
            if (!raw) {
                chunk.readLine = chunk.text.size();
                tookReadLine = true;
            }
            chunk.text.insert(chunk.text.end(), lines.begin(), lines.end());
        }
    } catch (...) {
        // The reader's buffer or the chunk's text found no memory.
        chunk.failed = true;
        chunk.ended = true;
    }
    if (!tookReadLine) chunk.readLine = chunk.text.size();
    chunk.readLineAfter = reader_.position();
    try {
        chunk.text.insert(chunk.text.end(), kCursorPadding, ' ');
    } catch (...) {
        chunk.failed = true;
        chunk.ended = true;
    }
}

namespace {

// Parses one line (without its line feed) into the chunk; `after` is the offset of the text
// after it.
void parseLine(ParsedChunk& chunk, std::string_view line, long long after) {
    KeywordLine split = splitKeyword(line);
    ParsedKind kind{};
    if (!classifyLine(split.keyword, kind)) return;
    chunk.kinds.push_back(kind);
    switch (kind) {
        case ParsedKind::position:
        case ParsedKind::normal:
            readNumbers(chunk, split.argument, 3);
            break;
        case ParsedKind::texcoord:
            readNumbers(chunk, split.argument, 2);
            break;
        case ParsedKind::face:
        case ParsedKind::line: {
            TextCursor cursor(split.argument, true);
            const bool isFace = kind == ParsedKind::face;
            ParsedElement element{0, after};
            CornerIndices written;
            while (scanCorner(cursor, isFace, written)) {
                chunk.corners.push_back(written);
                ++element.corners;
            }
            chunk.elements.push_back(element);
            break;
        }
        case ParsedKind::library:
        case ParsedKind::material: {
            TextCursor cursor(split.argument);
            chunk.words += scanToken(cursor);
            chunk.wordEnds.push_back(chunk.words.size());
            break;
        }
        case ParsedKind::smoothing: {
            TextCursor cursor(split.argument);
            int number = 0;
            scanInt(cursor, number);  // "off" reads no number and means group 0
            chunk.smoothing.push_back(number);
            break;
        }
    }
}

}  // namespace

void ParsedChunk::parse() {
    kinds.clear();
    numbers.clear();
    corners.clear();
    elements.clear();
    smoothing.clear();
    words.clear();
    wordEnds.clear();
    if (failed) return;
    try {
        const char* first = text.data();
        const char* raw = first + readLine;
        // Lines before the first NUL of the text need no search for one of their own.
        const void* nul = std::memchr(first, '\0', readLine);
        const char* clean = nul ? static_cast<const char*>(nul) : raw;
        for (const char* at = first; at < raw;) {
            const char* feed = static_cast<const char*>(std::memchr(at, '\n', raw - at));
            std::string_view line(at, static_cast<std::size_t>(feed - at));
            if (feed >= clean) {
                line = trimLine(line);
            } else if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            at = feed + 1;
            parseLine(*this, line, start + (at - first));
        }
        const std::size_t size = text.size() - kCursorPadding;
        if (readLine < size) parseLine(*this, {raw, size - readLine}, readLineAfter);
    } catch (...) {
        // Only the words and the tables grown beyond their usual size allocate.
        failed = true;
        ended = true;
    }
}

}  // namespace obj
