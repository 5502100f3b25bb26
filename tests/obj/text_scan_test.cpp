// Tests of the reader's text scanning: the "%f", "%d" and "%s" equivalents, corner token
// patterns, directories, and line reading of long, CRLF and unterminated lines, also under a
// process locale whose decimal separator is a comma.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <cstdio>
#include <string>
#include <vector>

#include "obj/obj.h"
#include "obj/text_scan.h"
#include "tests/obj/model_files.h"

namespace {

using obj::CornerIndices;
using obj::TextCursor;

float floatOf(const char* text, bool* ok = nullptr) {
    TextCursor cursor{std::string_view(text)};
    float value = -99;
    bool read = obj::scanFloat(cursor, value);
    if (ok) *ok = read;
    return value;
}

TEST(TextScanTest, FloatsReadEveryNotationThatScanfReads) {
    EXPECT_EQ(floatOf("  1.5"), 1.5f);
    EXPECT_EQ(floatOf("-.25"), -0.25f);
    EXPECT_EQ(floatOf("+2."), 2.0f);
    EXPECT_EQ(floatOf("1e3"), 1000.0f);
    EXPECT_EQ(floatOf("-2.5E-1x"), -0.25f);
    EXPECT_EQ(floatOf("0x1p3"), 8.0f);
    EXPECT_TRUE(std::isinf(floatOf("-inf")) && floatOf("-inf") < 0);
    EXPECT_TRUE(std::isnan(floatOf("nan")));
    EXPECT_TRUE(std::isinf(floatOf("1e99")));
    EXPECT_EQ(floatOf("1e-99"), 0.0f);
}

TEST(TextScanTest, FailedFloatLeavesValueAndCursorAlone) {
    for (const char* text : {"", "   ", "x1", "+-1", "--1", ".", "-"}) {
        TextCursor cursor{std::string_view(text)};
        const char* before = cursor.at;
        float value = 7;
        EXPECT_FALSE(obj::scanFloat(cursor, value)) << text;
        EXPECT_EQ(value, 7) << text;
        EXPECT_EQ(cursor.at, before) << text;
    }
}

TEST(TextScanTest, ScanFloatsStopsAtTheFirstValueThatFails) {
    TextCursor cursor{std::string_view(" 1 2,3 4")};
    float values[3] = {9, 9, 9};
    EXPECT_EQ(obj::scanFloats(cursor, values, 3), 2);
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[1], 2);
    EXPECT_EQ(values[2], 9);
}

TEST(TextScanTest, DecimalsOfManyDigitsRoundToTheNearestFloat) {
    // Decimals that fall within a hair of the halfway point between two floats, and random
    // decimals of up to 17 digits, against from_chars, which rounds correctly.
    std::vector<std::string> texts = {
        "65.43674850463867", "30.04978847503662", "16777217", "8388608.5", "0.1",
        "-123.456789012345"};
    std::mt19937_64 random(7);
    for (int n = 0; n < 200000; ++n) {
        std::string digits = std::to_string(random() % 100000000000000000ull);
        std::size_t point = random() % digits.size() + 1;
        texts.push_back(digits.substr(0, point) + "." + digits.substr(point));
    }
    for (int n = 0; n < 200000; ++n) {
        std::string whole = std::to_string(random() % 10000000).substr(0, random() % 8);
        texts.push_back(whole + "." + std::to_string(random() % 10000000));
    }
    for (const std::string& text : texts) {
        float expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        float read = floatOf(text.c_str());
        EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << text;
        // Padded text is read eight bytes at a time; digits past its end do not count.
        std::string padded = text + "987 6543";
        TextCursor cursor{std::string_view(padded.data(), text.size()), true};
        read = -99;
        EXPECT_TRUE(obj::scanFloat(cursor, read));
        EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << text << " padded";
    }
}

TEST(TextScanTest, IntegersClampToTheIntRange) {
    auto intOf = [](const char* text) {
        TextCursor cursor{std::string_view(text)};
        int value = -99;
        obj::scanInt(cursor, value);
        return value;
    };
    EXPECT_EQ(intOf(" 42"), 42);
    EXPECT_EQ(intOf("-7/"), -7);
    EXPECT_EQ(intOf("+3"), 3);
    EXPECT_EQ(intOf("off"), -99);
    EXPECT_EQ(intOf("99999999999999999999"), 2147483647);
    EXPECT_EQ(intOf("-99999999999999999999"), -2147483647 - 1);
}

TEST(TextScanTest, KeywordAndArgumentSplitAtTheFirstToken) {
    obj::KeywordLine line = obj::splitKeyword("  usemtl  red paint");
    EXPECT_EQ(line.keyword, "usemtl");
    EXPECT_EQ(line.argument, "  red paint");
    EXPECT_EQ(obj::splitKeyword(" \t ").keyword, "");
}

CornerIndices face(const char* token, bool* ok = nullptr) {
    CornerIndices corner{-5, -5, -5};
    bool matched = obj::scanFaceCorner(token, corner);
    if (ok) *ok = matched;
    return corner;
}

void expectCorner(const CornerIndices& corner, int v, int vt, int vn) {
    EXPECT_EQ(corner.v, v);
    EXPECT_EQ(corner.vt, vt);
    EXPECT_EQ(corner.vn, vn);
}

TEST(TextScanTest, FaceCornerTokensFollowTheFourPatternsInOrder) {
    expectCorner(face("1/2/3"), 1, 2, 3);
    expectCorner(face("1//3"), 1, 0, 3);
    expectCorner(face("1/2"), 1, 2, 0);
    expectCorner(face("1/2/x"), 1, 2, 0);
    expectCorner(face("4"), 4, 0, 0);
    expectCorner(face("-1/-2/-3"), -1, -2, -3);
    expectCorner(face("5x"), 5, 0, 0);
    bool ok = true;
    face("#", &ok);
    EXPECT_FALSE(ok);
    face("/1", &ok);
    EXPECT_FALSE(ok);
    // Padded text is read eight bytes at a time; digits past its end do not count.
    for (std::string token :
         {"1/2/3", "1//3", "1/2", "4", "-1/-2/-3", "1234567/12345678/123456789"}) {
        CornerIndices expected = face(token.c_str());
        std::string padded = token + "987 6543";
        TextCursor cursor{std::string_view(padded.data(), token.size()), true};
        CornerIndices read;
        EXPECT_TRUE(obj::scanCorner(cursor, true, read));
        EXPECT_EQ(std::vector<int>({read.v, read.vt, read.vn}),
                  std::vector<int>({expected.v, expected.vt, expected.vn}))
            << token;
    }
}

TEST(TextScanTest, LineCornerTokensReadOnlyPositionAndTexcoord) {
    CornerIndices corner;
    ASSERT_TRUE(obj::scanLineCorner("3/4/5", corner));
    expectCorner(corner, 3, 4, 0);
    ASSERT_TRUE(obj::scanLineCorner("3//5", corner));
    expectCorner(corner, 3, 0, 0);
    EXPECT_FALSE(obj::scanLineCorner("x", corner));
}

TEST(TextScanTest, DirectoryEndsBeforeTheLastSeparatorOrIsDot) {
    EXPECT_EQ(obj::directoryOf("./Models/billboard.obj"), "./Models");
    EXPECT_EQ(obj::directoryOf("C:\\models\\a.obj"), "C:\\models");
    EXPECT_EQ(obj::directoryOf("a/b\\c.obj"), "a/b");
    EXPECT_EQ(obj::directoryOf("model.obj"), ".");
    EXPECT_EQ(obj::directoryOf("/model.obj"), "");
}

// The lines of the text as LineReader::next gives them, or, with inRuns, as nextLines gives
// them: runs of raw lines split at their line feeds by the same rules, and single lines.
std::vector<std::string> readLines(const std::string& text, bool inRuns = false) {
    testsupport::ModelFolder folder;
    std::string path = folder.write("lines.txt", text);
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    std::vector<std::string> lines;
    if (!stream) return lines;
    obj::LineReader reader(stream, obj::maxModelBytes);
    std::string_view line;
    bool raw = false;
    while (inRuns ? reader.nextLines(line, raw) : reader.next(line)) {
        if (!raw) {
            lines.emplace_back(line);
            continue;
        }
        for (std::size_t feed; (feed = line.find('\n')) != std::string_view::npos;) {
            lines.emplace_back(obj::trimLine(line.substr(0, feed)));
            line.remove_prefix(feed + 1);
        }
        EXPECT_TRUE(line.empty()) << "a run of lines ends with a line feed";
    }
    std::fclose(stream);
    return lines;
}

TEST(TextScanTest, LineReaderKeepsLongLinesWholeAndDropsLineEnds) {
    std::string longLine(200000, 'a');
    longLine += "end";
    std::string withNul("cut");
    withNul += '\0';
    withNul += "hidden";
    std::vector<std::string> lines =
        readLines("first\r\n" + longLine + "\n\n" + withNul + "\nlast without feed");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "cut");
    EXPECT_EQ(lines[4], "last without feed");
    EXPECT_EQ(readLines("first\r\n" + longLine + "\n\n" + withNul + "\nlast without feed", true),
              lines);
    EXPECT_TRUE(readLines("").empty());
    EXPECT_TRUE(readLines("", true).empty());
}

TEST(TextScanTest, TakeLineSplitsInMemoryTextTheSameWay) {
    std::string_view text = "a\r\nb\n\nc";
    std::string_view line;
    std::vector<std::string> lines;
    while (obj::takeLine(text, line)) lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "c"}));
}

TEST(TextScanTest, NumbersIgnoreAProcessLocaleWithADecimalComma) {
    testsupport::CommaLocale locale;
    if (!locale.active()) GTEST_SKIP() << "no German locale sources to build one from";
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.1f", 1.5);
    ASSERT_STREQ(printed, "1,5");  // the C library now writes commas
    EXPECT_EQ(floatOf("1.5"), 1.5f);
    EXPECT_EQ(floatOf("2,5"), 2.0f);
}

}  // namespace
