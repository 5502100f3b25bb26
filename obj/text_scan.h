// Text scanning shared by the OBJ and MTL readers: whole-line reading of any length, and the
// equivalents of the scanf conversions "%f", "%d" and "%s" that ignore the process locale.
// Every scanner works on a cursor over [text, end) and never reads past end.
#pragma once

#include <cstdio>
#include <string_view>
#include <vector>

namespace obj {

// The characters that scanf treats as white space in the "C" locale.
inline bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// How many bytes past its end the text of a padded cursor stays readable.
inline constexpr std::size_t kCursorPadding = 8;

// A position in a line of text; scanners move `at` past what they consumed. When `padded`,
// the text stays readable for kCursorPadding bytes past `end` (though what lies there is not
// part of it), and numbers are read eight digits at a time.
struct TextCursor {
    const char* at;
    const char* end;
    bool padded = false;

    explicit TextCursor(std::string_view text, bool padded = false)
        : at(text.data()), end(text.data() + text.size()), padded(padded) {}
    bool atEnd() const { return at >= end; }
    std::string_view rest() const { return {at, static_cast<std::size_t>(end - at)}; }
};

// Moves past white space (a blank in a scanf format).
void skipBlanks(TextCursor& cursor);

// "%f": white space, then a decimal or hexadecimal float, "inf" or "nan" with an optional
// sign. On failure the target is left as it was and false is returned.
bool scanFloat(TextCursor& cursor, float& value);

// "%d": white space, an optional sign and decimal digits; values beyond the int range are
// clamped to it. On failure the target is left as it was and false is returned.
bool scanInt(TextCursor& cursor, int& value);

// "%s": white space, then the longest run of other characters; empty when the text ends first.
std::string_view scanToken(TextCursor& cursor);

// Matches the literal word at the cursor (no white space skipped); moves past it on success.
bool scanLiteral(TextCursor& cursor, std::string_view word);

// "%f %f %f" and its shorter forms: reads up to `count` floats into values[0..], stopping at
// the first that fails; returns how many were read.
int scanFloats(TextCursor& cursor, float* values, int count);

// Splits a line into its keyword (first token) and its argument (the rest of the line after
// the keyword, starting with the white space that follows it). The keyword is empty for a
// line without any token.
struct KeywordLine {
    std::string_view keyword;
    std::string_view argument;
};
KeywordLine splitKeyword(std::string_view line);

// The indices of one face or line corner as written ("v/vt/vn", "v/vt", "v//vn" or "v");
// an index that is not given is 0.
struct CornerIndices {
    int v = 0;
    int vt = 0;
    int vn = 0;
};

// The next corner token of a face (isFace) or line at the cursor, read as by scanFaceCorner
// or scanLineCorner, in one pass; the cursor moves past the whole token. False, with the
// cursor past any white space, when the text ends or the token is not a corner.
bool scanCorner(TextCursor& cursor, bool isFace, CornerIndices& corner);

// Face corner token: tries "%d/%d/%d", "%d/%d", "%d//%d" and "%d" in that order. Returns
// false when none of them matches.
bool scanFaceCorner(std::string_view token, CornerIndices& corner);

// Line corner token: tries "%d/%d" and "%d".
bool scanLineCorner(std::string_view token, CornerIndices& corner);

// Cuts a path to its directory: everything before the last "/" or "\", or "." when the path
// has neither.
std::string_view directoryOf(std::string_view path);

// Reads text lines of any length from a stream, in blocks. A line is returned without its
// line feed and without a carriage return before it, and ends at its first NUL character
// (as C string functions would see it).
class LineReader {
  public:
    // Reads at most `limit` bytes of the stream; a longer stream ends there as too long.
    LineReader(std::FILE* stream, long long limit) : stream_(stream), limit_(limit), left_(limit) {}
    // The next line, valid until the next call; false at the end of the stream.
    bool next(std::string_view& line);
    // The next run of whole lines as they stand in the stream, each with its line feed (raw
    // true), or, where the stream offers none (its last line has no line feed, a line is
    // longer than the reader keeps), the next line as `next` gives it (raw false). Valid
    // until the next call; false at the end of the stream.
    bool nextLines(std::string_view& lines, bool& raw);
    // Whether the stream held more than the limit.
    bool tooLong() const { return tooLong_; }
    // Offset in the stream of the text after the line last returned.
    long long position() const { return limit_ - left_ - static_cast<long long>(used_ - start_); }

  private:
    bool fill();
    // Whether the line at lineStart may hold a NUL character (when false, it surely does not).
    bool mayHoldNul(std::size_t lineStart, std::size_t lineLength);

    std::FILE* stream_;
    std::vector<char> buffer_;
    std::size_t start_ = 0;  // first byte of the unread text in buffer_
    std::size_t used_ = 0;   // bytes of buffer_ holding text
    std::size_t nulAt_ = 0;  // the text from the last search up to here holds no NUL
    long long limit_;
    long long left_;  // bytes the limit still allows
    bool ended_ = false;
    bool tooLong_ = false;
    bool skipping_ = false;  // dropping the tail of a line longer than the limit
};

// Takes the next line off the front of in-memory text with the same rules as LineReader;
// false when the text is used up.
bool takeLine(std::string_view& text, std::string_view& line);

// The reading rules of a line: drop a trailing carriage return and end at the first NUL.
std::string_view trimLine(std::string_view line);

}  // namespace obj
