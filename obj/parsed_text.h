// OBJ text turned into numbers, a chunk of lines at a time, apart from the order-dependent
// steps that make the model from them. A large model's text is parsed by a second thread
// while the reading thread turns earlier chunks into vertices, so a chunk holds only what
// the lines say: numbers as read and corner indices as written (a relative index depends
// on the tables' sizes when its line is reached, which only the reading thread knows).
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

// The corners of a face or line found in one chunk; a line with more corners than a chunk
// holds goes on in the next chunk.
struct ParsedElement {
    int corners;
    bool continued;   // carries on the element of the previous chunk
    bool continues;   // more corners follow in the next chunk
    long long after;  // offset of the text after the element's line
};

struct ParsedChunk {
    std::vector<ParsedKind> kinds;  // one per line acted on, in file order
    std::vector<float> numbers;
    std::vector<CornerIndices> corners;
    std::vector<ParsedElement> elements;
    std::vector<int> smoothing;
    std::string words;                  // the words of "mtllib" and "usemtl" lines, end to end
    std::vector<std::size_t> wordEnds;  // where each ends in `words`
    bool ended = false;                 // the text ends with this chunk
    bool tooLong = false;               // the text is longer than the largest model
    bool failed = false;                // memory ran out while parsing: the text is not whole

    // Reserves the chunk's fixed storage; false when there is no memory for it.
    bool reserve();
};

// Parses the text of a line reader chunk by chunk; a line cut by a full chunk resumes in the
// next one.
class TextParser {
  public:
    explicit TextParser(LineReader& reader) : reader_(reader) {}
    // Empties the chunk and fills it with the next lines, until it is full or the text ends.
    void fill(ParsedChunk& chunk);

  private:
    // Reads the corners at the cursor into the chunk; false when the chunk filled first.
    bool readCorners(ParsedChunk& chunk, bool continued);

    LineReader& reader_;
    TextCursor pending_{std::string_view{}};  // rest of an element line cut by a full chunk
    bool pendingFace_ = false;
    bool hasPending_ = false;
};

}  // namespace obj
