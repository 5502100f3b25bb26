// Locale-independent equivalents of the scanf conversions that the OBJ and MTL formats need,
// and a block-wise line reader that keeps long lines whole. Numbers go through from_chars,
// which reads the same text as strtod in the "C" locale whatever the process locale is.
#include "obj/text_scan.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>

namespace obj {

namespace {

// Longest line handed to the readers; the rest of a longer line is skipped. A face line of
// this length still holds more than a million corners, and the cap bounds the buffer that
// a file without line feeds would otherwise grow without end.
constexpr std::size_t kMaxLineLength = std::size_t{16} << 20;

// Size of one read from the stream; large enough that reading is not the bottleneck.
constexpr std::size_t kReadBlock = std::size_t{1} << 16;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether out-of-range number text stands for a value too large (true) or too small (false)
// for a float: the sign of its decimal (or, for hexadecimal, binary) magnitude.
bool exceedsUpward(const char* first, const char* last, bool hexadecimal) {
    const char exponentMark = hexadecimal ? 'p' : 'e';
    const char* p = first;
    while (p < last && *p == '0') ++p;
    long long magnitude = 0;
    while (p < last && (hexadecimal ? isHexDigit(*p) : isDigit(*p))) {
        ++magnitude;
        ++p;
    }
    if (magnitude == 0 && p < last && *p == '.') {
        ++p;
        while (p < last && *p == '0') {
            --magnitude;
            ++p;
        }
    }
    while (p < last && (*p | 0x20) != exponentMark) ++p;
    if (p < last) {
        ++p;
        bool negative = p < last && *p == '-';
        if (p < last && (*p == '-' || *p == '+')) ++p;
        long long exponent = 0;
        for (; p < last && isDigit(*p); ++p) {
            if (exponent < 1000000) exponent = exponent * 10 + (*p - '0');
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude > 0;
}

// Steps over one leading '+' or '-'; true when it was a minus.
bool takeSign(const char*& p, const char* end) {
    if (p >= end || (*p != '+' && *p != '-')) return false;
    return *p++ == '-';
}

// Powers of ten that a double holds exactly (5^22 < 2^53).
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The run of decimal digits at p, if it is shorter than eight: its length (0 for none, 8 for
// a run of eight or more, which is left to the callers' own loops) and its value. Reads the
// eight bytes at p, which must be readable, and counts no digit at or past end.
inline int readShortDigits(const char* p, const char* end, std::uint64_t& value) {
    std::uint64_t bytes;
    std::memcpy(&bytes, p, sizeof bytes);
    // Each byte (little-endian, the first in the lowest) less '0': a digit leaves 0 to 9,
    // anything else has its high half set or passes 9. A carry out of a non-digit byte can
    // only mark bytes after it.
    const std::uint64_t digits = bytes ^ 0x3030303030303030u;
    const std::uint64_t other =
        (digits & 0xf0f0f0f0f0f0f0f0u) | ((digits + 0x0606060606060606u) & 0x1010101010101010u);
    int length = other ? __builtin_ctzll(other) / 8 : 8;
    if (length > end - p) length = static_cast<int>(end - p);
    if (length == 0 || length == 8) return length;
    // The digits moved to the top bytes, zeros before them, then combined in pairs, fours and
    // eights.
    std::uint64_t v = digits << (8 * (8 - length));
    v = (v & 0x0f0f0f0f0f0f0f0fu) * 2561 >> 8;
    v = (v & 0x00ff00ff00ff00ffu) * 6553601 >> 16;
    value = (v & 0x0000ffff0000ffffu) * 42949672960001u >> 32;
    return length;
}

// The common case of model text, "123.456789"-like numbers of up to 17 digits, converted
// without from_chars: when the digits, read as an integer m, fit a double exactly (m <= 2^53)
// and at most 22 follow the point, m / 10^k is one correctly rounded double division. Its
// rounding to float then gives the correctly rounded float, the very value from_chars gives,
// unless the double lies exactly halfway between two floats (the exact quotient may lie on
// either side of it): such numbers, exponents, hexadecimal, longer numbers and a number not
// followed by white space are left to from_chars. Returns the end of the number, or null.
const char* convertShortDecimal(const char* q, const char* end, std::uint64_t digits, int fraction,
                                float& value) {
    if (q < end && !isBlank(*q)) return nullptr;
    if (digits > (std::uint64_t{1} << 53) || fraction > 22) return nullptr;
    const double quotient = static_cast<double>(digits) / kExactPowersOfTen[fraction];
    // The 29 low mantissa bits are those a float drops; 1 then 28 zeros is a halfway point.
    std::uint64_t bits;
    std::memcpy(&bits, &quotient, sizeof bits);
    if ((bits & 0x1fffffff) == 0x10000000) return nullptr;
    value = static_cast<float>(quotient);
    return q;
}

// The digits of a short decimal at p, one at a time; see convertShortDecimal.
const char* scanShortDecimal(const char* p, const char* end, float& value) {
    std::uint64_t digits = 0;
    const char* q = p;
    const char* limit = p + 18 < end ? p + 18 : end;  // no overflow of digits
    while (q < limit && isDigit(*q)) digits = digits * 10 + static_cast<unsigned>(*q++ - '0');
    if (q == p) return nullptr;
    int fraction = 0;
    if (q < limit && *q == '.') {
        const char* point = q++;
        while (q < limit && isDigit(*q)) digits = digits * 10 + static_cast<unsigned>(*q++ - '0');
        fraction = static_cast<int>(q - point - 1);
        if (fraction == 0) return nullptr;
    }
    return convertShortDecimal(q, end, digits, fraction, value);
}

// As scanShortDecimal, for padded text: fewer than eight digits on either side of the point
// are read eight bytes at a time, giving the same digits and fraction.
const char* scanPaddedDecimal(const char* p, const char* end, float& value) {
    constexpr std::uint64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    std::uint64_t whole = 0;
    const int wholeLength = readShortDigits(p, end, whole);
    if (wholeLength > 0 && wholeLength < 8) {
        const char* q = p + wholeLength;
        if (q == end || *q != '.') return convertShortDecimal(q, end, whole, 0, value);
        std::uint64_t part = 0;
        const int partLength = readShortDigits(q + 1, end, part);
        if (partLength > 0 && partLength < 8) {
            return convertShortDecimal(q + 1 + partLength, end,
                                       whole * kPowersOfTen[partLength] + part, partLength, value);
        }
    }
    return scanShortDecimal(p, end, value);
}

}  // namespace

void skipBlanks(TextCursor& cursor) {
    while (cursor.at < cursor.end && isBlank(*cursor.at)) ++cursor.at;
}

bool scanFloat(TextCursor& cursor, float& value) {
    // A failed conversion leaves the cursor where it was, blanks included.
    TextCursor start = cursor;
    skipBlanks(start);
    const char* p = start.at;
    const char* end = cursor.end;
    const bool negative = takeSign(p, end);
    // from_chars takes its own minus sign, so a second sign must be refused here.
    if (p >= end || *p == '+' || *p == '-') return false;

    float parsed = 0;
    const char* after =
        cursor.padded ? scanPaddedDecimal(p, end, parsed) : scanShortDecimal(p, end, parsed);
    if (after) {
        value = negative ? -parsed : parsed;
        cursor.at = after;
        return true;
    }
    std::from_chars_result result{};
    bool hexadecimal = false;
    if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
        (isHexDigit(p[2]) || p[2] == '.')) {
        hexadecimal = true;
        result = std::from_chars(p + 2, end, parsed, std::chars_format::hex);
    } else {
        result = std::from_chars(p, end, parsed, std::chars_format::general);
    }
    if (result.ec == std::errc::invalid_argument) return false;
    if (result.ec == std::errc::result_out_of_range) {
        parsed = exceedsUpward(hexadecimal ? p + 2 : p, result.ptr, hexadecimal)
                     ? std::numeric_limits<float>::infinity()
                     : 0.0f;
    }
    value = negative ? -parsed : parsed;
    cursor.at = result.ptr;
    return true;
}

bool scanInt(TextCursor& cursor, int& value) {
    TextCursor start = cursor;
    skipBlanks(start);
    const char* p = start.at;
    const char* end = cursor.end;
    const bool negative = takeSign(p, end);
    if (p >= end || !isDigit(*p)) return false;
    long long magnitude = 0;
    for (; p < end && isDigit(*p); ++p) {
        if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (*p - '0');
    }
    long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX) signedValue = INT_MAX;
    if (signedValue < INT_MIN) signedValue = INT_MIN;
    value = static_cast<int>(signedValue);
    cursor.at = p;
    return true;
}

std::string_view scanToken(TextCursor& cursor) {
    skipBlanks(cursor);
    const char* first = cursor.at;
    while (cursor.at < cursor.end && !isBlank(*cursor.at)) ++cursor.at;
    return {first, static_cast<std::size_t>(cursor.at - first)};
}

bool scanLiteral(TextCursor& cursor, std::string_view word) {
    if (cursor.rest().substr(0, word.size()) != word) return false;
    cursor.at += word.size();
    return true;
}

int scanFloats(TextCursor& cursor, float* values, int count) {
    int read = 0;
    while (read < count && scanFloat(cursor, values[read])) ++read;
    return read;
}

KeywordLine splitKeyword(std::string_view line) {
    TextCursor cursor(line);
    KeywordLine split;
    split.keyword = scanToken(cursor);
    split.argument = cursor.rest();
    return split;
}

namespace {

// One "%d" at p with no white space before it (there is none inside a token): an optional
// sign and decimal digits, clamped to the int range. Moves p past it on success. White space
// is neither a sign nor a digit, so the end of the token needs no bound of its own.
inline bool scanIndex(const char*& p, const char* end, bool padded, int& value) {
    if (padded && p < end) {
        std::uint64_t digits = 0;
        const int length = readShortDigits(p, end, digits);
        if (length > 0 && length < 8) {
            value = static_cast<int>(digits);
            p += length;
            return true;
        }
    }
    // Model text writes indices as up to 9 plain digits, which fit an int without checks.
    if (p < end && isDigit(*p)) {
        unsigned digits = static_cast<unsigned>(*p - '0');
        const char* q = p + 1;
        const char* limit = end - q > 8 ? q + 8 : end;
        while (q < limit && isDigit(*q)) digits = digits * 10 + static_cast<unsigned>(*q++ - '0');
        if (q == end || !isDigit(*q)) {
            value = static_cast<int>(digits);
            p = q;
            return true;
        }
    }
    const char* q = p;
    const bool negative = takeSign(q, end);
    if (q >= end || !isDigit(*q)) return false;
    long long magnitude = 0;
    for (; q < end && isDigit(*q); ++q) {
        if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (*q - '0');
    }
    long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
    p = q;
    return true;
}

}  // namespace

bool scanCorner(TextCursor& cursor, bool isFace, CornerIndices& corner) {
    skipBlanks(cursor);
    const char* p = cursor.at;
    const char* end = cursor.end;
    int v = 0;
    const bool padded = cursor.padded;
    if (!scanIndex(p, end, padded, v)) return false;
    corner = CornerIndices{v, 0, 0};
    const char* afterV = p;
    int index = 0;
    if (p < end && *p == '/' && scanIndex(++p, end, padded, index)) {
        corner.vt = index;  // "%d/%d", for faces possibly followed by "/%d"
        if (isFace && p < end && *p == '/' && scanIndex(++p, end, padded, index)) corner.vn = index;
    } else if (isFace) {
        p = afterV;
        if (end - p >= 2 && p[0] == '/' && p[1] == '/') {
            p += 2;
            if (scanIndex(p, end, padded, index)) corner.vn = index;
        }
    }
    // The rest of the token is not part of any pattern.
    while (p < end && !isBlank(*p)) ++p;
    cursor.at = p;
    return true;
}

bool scanFaceCorner(std::string_view token, CornerIndices& corner) {
    TextCursor cursor(token);
    return scanCorner(cursor, true, corner);
}

bool scanLineCorner(std::string_view token, CornerIndices& corner) {
    TextCursor cursor(token);
    return scanCorner(cursor, false, corner);
}

std::string_view directoryOf(std::string_view path) {
    std::size_t cut = path.find_last_of("/\\");
    if (cut == std::string_view::npos) return ".";
    return path.substr(0, cut);
}

std::string_view trimLine(std::string_view line) {
    std::size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool takeLine(std::string_view& text, std::string_view& line) {
    if (text.empty()) return false;
    std::size_t feed = text.find('\n');
    if (feed == std::string_view::npos) {
        line = trimLine(text);
        text = {};
    } else {
        line = trimLine(text.substr(0, feed));
        text.remove_prefix(feed + 1);
    }
    return true;
}

bool LineReader::fill() {
    if (ended_) return false;
    if (start_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + start_, used_ - start_);
        used_ -= start_;
        start_ = 0;
        nulAt_ = 0;  // the text moved: search again
    }
    if (used_ == buffer_.size()) buffer_.resize(buffer_.empty() ? kReadBlock : buffer_.size() * 2);
    // One byte beyond the limit tells a stream of exactly the limit from a longer one.
    std::size_t room = std::min<std::size_t>(buffer_.size() - used_,
                                             static_cast<std::size_t>(std::max(left_, 0LL)) + 1);
    std::size_t got = std::fread(buffer_.data() + used_, 1, room, stream_);
    if (static_cast<long long>(got) > left_) {
        tooLong_ = true;
        ended_ = true;
        return false;
    }
    left_ -= static_cast<long long>(got);
    used_ += got;
    if (got == 0) ended_ = true;
    return got > 0;
}

bool LineReader::mayHoldNul(std::size_t lineStart, std::size_t lineLength) {
    // One search per block instead of one per line: [lineStart, nulAt_) is known free of NUL.
    if (nulAt_ <= lineStart) {
        const void* nul = std::memchr(buffer_.data() + lineStart, '\0', used_ - lineStart);
        nulAt_ =
            nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer_.data()) : used_;
    }
    // nulAt_ is a NUL, or the end of the text searched; the line's line feed is no NUL.
    return nulAt_ < lineStart + lineLength;
}

bool LineReader::next(std::string_view& line) {
    for (;;) {
        const char* text = buffer_.data() + start_;
        std::size_t length = used_ - start_;
        const void* feed = length ? std::memchr(text, '\n', length) : nullptr;
        if (feed) {
            std::size_t lineLength = static_cast<const char*>(feed) - text;
            std::size_t lineStart = start_;
            start_ += lineLength + 1;
            if (skipping_) {
                skipping_ = false;
                continue;
            }
            line = {text, lineLength};
            if (mayHoldNul(lineStart, lineLength)) {
                line = trimLine(line);
            } else if (lineLength > 0 && text[lineLength - 1] == '\r') {
                line.remove_suffix(1);
            }
            return true;
        }
        if (skipping_) {
            start_ = used_;
        } else if (length >= kMaxLineLength) {
            // Hand out the head of an overlong line and drop the rest up to its line feed.
            start_ += kMaxLineLength;
            skipping_ = true;
            line = trimLine({text, kMaxLineLength});
            return true;
        }
        if (!fill()) {
            if (start_ == used_) return false;
            // The last line has no line feed.
            line = trimLine({buffer_.data() + start_, used_ - start_});
            start_ = used_;
            return true;
        }
    }
}

bool LineReader::nextLines(std::string_view& lines, bool& raw) {
    while (!skipping_) {
        const char* text = buffer_.data() + start_;
        const std::size_t length = used_ - start_;
        // Only the last line of the buffered text, usually short, is searched backwards.
        std::size_t whole = length;
        while (whole > 0 && text[whole - 1] != '\n') --whole;
        if (whole > 0) {
            lines = {text, whole};
            start_ += whole;
            raw = true;
            return true;
        }
        // As `next` does: a line this long is cut, and the end of the stream ends the last line.
        if (length >= kMaxLineLength || !fill()) break;
    }
    raw = false;
    return next(lines);
}

}  // namespace obj
