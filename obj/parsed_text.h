// OBJ text turned into numbers, a chunk of lines at a time, apart from the order-dependent
// steps that make the model from them. A large model's chunks are parsed on two threads,
// while the reading thread also turns parsed chunks into vertices in file order, so a chunk
// holds only what its lines say: numbers as read and corner indices as written (a relative
// index depends on the tables' sizes when its line is reached, which only the reading thread
// knows).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "obj/text_scan.h"

namespace obj {

// The lines the reader acts on; the others are dropped while parsing.
enum class ParsedKind : std::uint8_t {
    position,   // three numbers (those not given are 0)
    texcoord,   // two numbers
    normal,     // three numbers
    face,       // an element of corners
    line,       // likewise
    library,    // "mtllib": a word (empty when none)
    material,   // "usemtl": a word
    smoothing,  // "s": a number (0 for "off" or none)
};

// The corners of a face or line, which a chunk always holds whole.
struct ParsedElement {
    int corners;
    long long after;  // offset of the text after the element's line
};

// A run of whole lines of the text and what they say. The text is taken from the line reader
// in file order, one chunk after another; its parsing needs nothing from other chunks, so
// chunks may be parsed on any thread and in any order.
struct ParsedChunk {
    // Whole lines as they stand in the file, each ending in a line feed, then kCursorPadding
    // blanks so that the scanners may read numbers eight bytes at a time.
    std::vector<char> text;
    // A last line handed over by the line reader as it reads it (the text's last line without
    // a line feed, or the head of an overlong line) starts here and is taken as it is; it
    // ends the chunk. The text's size, less its padding, when there is none.
    std::size_t readLine = 0;
    long long start = 0;          // offset of the text's first byte in the file
    long long readLineAfter = 0;  // offset of the text after that last line

    std::vector<ParsedKind> kinds;  // one per line acted on, in file order
    std::vector<float> numbers;
    std::vector<CornerIndices> corners;
    std::vector<ParsedElement> elements;
    std::vector<int> smoothing;
    std::string words;                  // the words of "mtllib" and "usemtl" lines, end to end
    std::vector<std::size_t> wordEnds;  // where each ends in `words`
    bool ended = false;                 // the text ends with this chunk
    bool tooLong = false;               // the text is longer than the largest model
    bool failed = false;                // memory ran out: the text is not whole

    // Reserves the chunk's usual storage; false when there is no memory for it.
    bool reserve();
    // Parses the chunk's text; sets failed when memory runs out.
    void parse();
};

// Hands the text of a line reader out in chunks of whole lines, in file order. Taking text
// is cheap next to parsing it, so one thread at a time takes it while others parse.
class TextParser {
  public:
    explicit TextParser(LineReader& reader) : reader_(reader) {}
    // Empties the chunk and fills its text with the next lines, until it holds about a
    // chunk's worth or the text ends.
    void take(ParsedChunk& chunk);

  private:
    LineReader& reader_;
};

}  // namespace obj
