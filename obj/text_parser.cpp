// The parsing half of the OBJ reader: lines classified by keyword, numbers converted and
// corner tokens split into their indices as written, into chunks of fixed size.
#include "obj/parsed_text.h"

namespace obj {

namespace {

// What one chunk holds: about a megabyte, so that handing chunks between threads costs
// nothing beside parsing them, and a few of them stay in the cache.
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
    TextCursor cursor(argument);
    scanFloats(cursor, values, count);
    chunk.numbers.insert(chunk.numbers.end(), values, values + count);
}

}  // namespace

bool ParsedChunk::reserve() {
    try {
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

bool TextParser::readCorners(ParsedChunk& chunk, bool continued) {
    ParsedElement element{0, continued, false, reader_.position()};
    for (;;) {
        if (chunk.corners.size() == chunk.corners.capacity()) {
            element.continues = true;
            break;
        }
        CornerIndices written;
        if (!scanCorner(pending_, pendingFace_, written)) break;
        chunk.corners.push_back(written);
        ++element.corners;
    }
    chunk.elements.push_back(element);
    hasPending_ = element.continues;
    return !element.continues;
}

void TextParser::fill(ParsedChunk& chunk) {
    chunk.kinds.clear();
    chunk.numbers.clear();
    chunk.corners.clear();
    chunk.elements.clear();
    chunk.smoothing.clear();
    chunk.words.clear();
    chunk.wordEnds.clear();
    chunk.ended = chunk.tooLong = chunk.failed = false;
    try {
        if (hasPending_) {
            chunk.kinds.push_back(pendingFace_ ? ParsedKind::face : ParsedKind::line);
            if (!readCorners(chunk, true)) return;
        }
        // Every line adds at most one kind, element, smoothing number or word, and three
        // numbers, so a chunk with room for one more of each takes any line.
        std::string_view line;
        while (chunk.kinds.size() < chunk.kinds.capacity() &&
               chunk.numbers.size() + 3 <= chunk.numbers.capacity() &&
               chunk.corners.size() < chunk.corners.capacity()) {
            if (!reader_.next(line)) {
                chunk.ended = true;
                chunk.tooLong = reader_.tooLong();
                return;
            }
            KeywordLine split = splitKeyword(line);
            ParsedKind kind{};
            if (!classifyLine(split.keyword, kind)) continue;
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
                case ParsedKind::line:
                    pending_ = TextCursor(split.argument);
                    pendingFace_ = kind == ParsedKind::face;
                    if (!readCorners(chunk, false)) return;
                    break;
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
    } catch (...) {
        // Only the words and the line reader's buffer allocate.
        chunk.failed = true;
        chunk.ended = true;
    }
}

}  // namespace obj
