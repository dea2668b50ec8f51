#include "common/portable/TextOps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

// Code page 936 bytes used below. "\x81\x41" and "\x81\x5C" are real characters whose second byte
// is an ASCII letter / a backslash, which is what makes a byte-wise search go wrong.
namespace {
constexpr char kZhong[] = "\xD6\xD0";      // a Chinese character
constexpr char kWen[] = "\xCE\xC4";        // another one
constexpr char kIdeoSpace[] = "\xA1\xA1";  // the double-byte space
constexpr char kTrailA[] = "\x81\x41";     // second byte is 'A'
constexpr char kTrailBackslash[] = "\x81\x5C";
// The bytes D0 CE straddle the boundary of kZhong + kWen, and are also a character of their own.
constexpr char kStraddle[] = "\xD0\xCE";

Text T(const char* s) {
    return Text(s);
}
}  // namespace

TEST(TextOpsTest, IntToTextGivesPlainDecimal) {
    struct Case {
        const char* name;
        int64_t value;
        const char* expected;
    } cases[] = {
        {"zero", 0, "0"},
        {"positive", 1000, "1000"},
        {"negative", -42, "-42"},
        {"int32 min", std::numeric_limits<int32_t>::min(), "-2147483648"},
        {"int64 min", std::numeric_limits<int64_t>::min(), "-9223372036854775808"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IntToText(c.value), c.expected);
    }
}

TEST(TextOpsTest, TextToIntReadsLeadingNumberAfterFoldingFullWidth) {
    struct Case {
        const char* name;
        Text text;
        int32_t expected;
    } cases[] = {
        {"plain", "123", 123},
        {"leading zeros", "007", 7},
        {"leading spaces and trailing junk", "  42abc", 42},
        {"minus", "-17", -17},
        {"plus", "+8", 8},
        {"no number", "abc", 0},
        {"empty", "", 0},
        {"sign without digits", "-", 0},
        {"space between sign and digits", "- 5", 0},
        {"leading tab is not a space", "\t5", 0},
        {"full-width digits", "\xA3\xB1\xA3\xB2\xA3\xB3", 123},
        {"full-width minus", "\xA3\xAD\xA3\xB4\xA3\xB5", -45},
        {"full-width plus", "\xA3\xAB\xA3\xB7", 7},
        {"full-width spaces before", T(kIdeoSpace) + kIdeoSpace + "\xA3\xB9", 9},
        {"mixed widths", "\xA3\xB1" "2\xA3\xB3", 123},
        {"digits end at a Chinese character", "12" + T(kZhong) + "3", 12},
        // The bytes A3 B1 here are the second byte of one pair and the first of the next: no digit.
        {"full-width digit bytes across two pairs", "\xB0\xA3\xB1\xB2", 0},
        {"lone lead byte at the end", "12\xA3", 12},
        {"int32 max", "2147483647", 2147483647},
        {"above int32 max is clamped", "2147483648", std::numeric_limits<int32_t>::max()},
        {"int32 min", "-2147483648", std::numeric_limits<int32_t>::min()},
        {"far below int32 min is clamped", "-99999999999999999999", std::numeric_limits<int32_t>::min()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextToInt(c.text), c.expected);
    }
}

TEST(TextOpsTest, SplitFollowsThePieceRules) {
    struct Case {
        const char* name;
        Text text;
        Text separator;
        std::optional<int> maxPieces;
        TextArray expected;
    } cases[] = {
        {"plain", "a,b,c", ",", std::nullopt, {"a", "b", "c"}},
        {"empty text gives no pieces", "", ",", std::nullopt, {}},
        {"no separator in text", "abc", ",", std::nullopt, {"abc"}},
        {"adjacent separators give an empty piece", "a,,b", ",", std::nullopt, {"a", "", "b"}},
        {"leading separator gives an empty first piece", ",a", ",", std::nullopt, {"", "a"}},
        {"empty piece after the last separator is dropped", "a,b,", ",", std::nullopt, {"a", "b"}},
        {"only a separator", ",", ",", std::nullopt, {""}},
        {"two separators", ",,", ",", std::nullopt, {"", ""}},
        {"multi-byte separator", "a\r\nb\r\n\r\nc\r\n", "\r\n", std::nullopt, {"a", "b", "", "c"}},
        {"separator is a prefix of itself repeated", "a::::b", "::", std::nullopt, {"a", "", "b"}},
        {"empty separator gives the whole text", "a,b", "", std::nullopt, {"a,b"}},
        {"maximum keeps the rest in the last piece", "a,b,c,d", ",", 2, {"a", "b,c,d"}},
        {"maximum of one", "a,b", ",", 1, {"a,b"}},
        {"maximum above the piece count", "a,b", ",", 5, {"a", "b"}},
        {"maximum reached exactly", "a,b,c", ",", 3, {"a", "b", "c"}},
        {"maximum with an empty rest", "a,", ",", 2, {"a"}},
        {"maximum of zero means none", "a,b,c", ",", 0, {"a", "b", "c"}},
        {"negative maximum means none", "a,b,c", ",", -1, {"a", "b", "c"}},
        {"Chinese pieces", T(kZhong) + "," + kWen, ",", std::nullopt, {kZhong, kWen}},
        {"separator bytes straddling two characters", T(kZhong) + kWen, kStraddle, std::nullopt, {T(kZhong) + kWen}},
        {"separator bytes as a character of their own",
         T(kZhong) + kWen + kStraddle + "x",
         kStraddle,
         std::nullopt,
         {T(kZhong) + kWen, "x"}},
        {"backslash as second byte is not a separator",
         T("a\\") + kTrailBackslash + "\\b",
         "\\",
         std::nullopt,
         {"a", kTrailBackslash, "b"}},
        // No code page takes a control byte, a space, a digit or punctuation below '@' as a second
        // byte: after a lead byte such a separator still separates.
        {"tab after a lead byte", "a\xB0\tb\xF0\t", "\t", std::nullopt, {"a\xB0", "b\xF0"}},
        {"line break after a lead byte", "a\xFF\r\nb\xB0\r\n\xB0\r\n", "\r\n", std::nullopt, {"a\xFF", "b\xB0", "\xB0"}},
        {"comma after a lead byte", "\xB0,\x81,", ",", std::nullopt, {"\xB0", "\x81"}},
        {"'@' after a lead byte is a second byte", "\xB0@x", "@", std::nullopt, {"\xB0@x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitText(c.text, c.separator, c.maxPieces), c.expected);
    }
}

TEST(TextOpsTest, FindGivesOneBasedPositionOfFirstMatchAtACharacterStart) {
    struct Case {
        const char* name;
        Text haystack;
        Text needle;
        bool ignoreCase;
        int start;
        int expected;
    } cases[] = {
        {"at the start", "abcabc", "abc", false, 1, 1},
        {"in the middle", "xxabc", "abc", false, 1, 3},
        {"not found", "abc", "abd", false, 1, -1},
        {"needle longer than text", "ab", "abc", false, 1, -1},
        {"case matters by default", "ABC", "b", false, 1, -1},
        {"ignoring case", "ABC", "b", true, 1, 2},
        {"ignoring case folds the needle too", "abc", "BC", true, 1, 2},
        {"only letters are folded", "[", "{", true, 1, -1},
        {"from a later start", "abcabc", "abc", false, 2, 4},
        {"start below one is one", "abc", "a", false, -3, 1},
        {"start past the end", "abc", "c", false, 4, -1},
        {"after a Chinese character", T(kZhong) + "ab", "ab", false, 1, 3},
        {"Chinese needle", T("a") + kZhong + kWen, kWen, false, 1, 4},
        {"bytes straddling two characters never match", T(kZhong) + kWen, kStraddle, false, 1, -1},
        {"the real character after a straddling look-alike",
         T(kZhong) + kWen + kStraddle,
         kStraddle,
         false,
         1,
         5},
        {"second byte never starts a match", kTrailA, "A", false, 1, -1},
        {"second byte is not folded", kTrailA, "\x81\x61", true, 1, -1},
        {"the same pair ignoring case", kTrailA, kTrailA, true, 1, 1},
        {"needle ending in half a pair", kZhong, "\xD6", false, 1, -1},
        {"lone lead byte at the end is a character", "x\xD6", "\xD6", false, 1, 2},
        {"start on a second byte moves to the next character",
         T(kZhong) + "a" + kZhong,
         kZhong,
         false,
         2,
         4},
        {"empty needle at start", "abc", "", false, 1, 1},
        {"empty needle at a later start", "abc", "", false, 2, 2},
        {"empty needle in empty text", "", "", false, 1, -1},
        {"empty needle past the end", "abc", "", false, 4, -1},
        {"anything in empty text", "", "a", false, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindText(c.haystack, c.needle, c.ignoreCase, c.start), c.expected);
    }
}

TEST(TextOpsTest, FindBackwardGivesLastMatchAtACharacterStart) {
    struct Case {
        const char* name;
        Text haystack;
        Text needle;
        bool ignoreCase;
        int expected;
    } cases[] = {
        {"last of two", "abcabc", "bc", false, 5},
        {"only one", "xyz", "x", false, 1},
        {"not found", "abc", "d", false, -1},
        {"ignoring case", "aBcAbC", "abc", true, 4},
        {"case matters by default", "aBcAbC", "abc", false, -1},
        {"overlapping candidates give the last start", "aaa", "aa", false, 2},
        {"straddling bytes before a real character", T(kStraddle) + kZhong + kWen, kStraddle, false, 1},
        {"straddling bytes only", T(kZhong) + kWen, kStraddle, false, -1},
        {"second byte never starts a match", T("A") + kTrailA, "A", false, 1},
        {"empty needle is the last character start", T("a") + kZhong, "", false, 2},
        {"empty needle in empty text", "", "", false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindTextBackward(c.haystack, c.needle, c.ignoreCase), c.expected);
    }
}

// Characters are read by the code page's own table, not by "any byte from 0x80 on leads": in code
// page 936 the bytes 0x80 (the euro sign) and 0xFF stand alone, and 0x7F is never a second byte.
// A separator after them is a separator: a program folder ending in the euro sign keeps its
// closing backslash.
TEST(TextOpsTest, BytesThatLeadNoPairInTheCodePageStandAlone) {
    EXPECT_EQ(FindTextBackward("C:\\x\x80\\EntryKeeper.exe", "\\"), 6);
    EXPECT_EQ(FindText("\x80\\x", "\\"), 2);
    EXPECT_EQ(FindText(T(kTrailA) + "\x81\x7F", "\x7F"), 4);
    EXPECT_EQ(SplitText("a\xFF|b|", "|"), (TextArray{"a\xFF", "b"}));
    EXPECT_EQ(ReplaceText("\x80\\\xFF\\", "\\", "/"), "\x80/\xFF/");
}

TEST(TextOpsTest, ReplaceIsLeftToRightAndNonOverlapping) {
    struct Case {
        const char* name;
        Text text;
        Text from;
        Text to;
        bool ignoreCase;
        Text expected;
    } cases[] = {
        {"every occurrence", "a-b-c", "-", "+", false, "a+b+c"},
        {"non-overlapping from the left", "aaa", "aa", "b", false, "ba"},
        {"replacement holding the needle is not rescanned", "ab", "a", "aa", false, "aab"},
        {"to empty removes", "a, b, c", ", ", "", false, "abc"},
        {"empty from changes nothing", "abc", "", "x", false, "abc"},
        {"empty text", "", "a", "b", false, ""},
        {"case matters by default", "aAa", "a", "b", false, "bAb"},
        {"ignoring case", "aAa", "a", "b", true, "bbb"},
        {"Chinese from and to", T(kZhong) + "x" + kZhong, kZhong, kWen, false, T(kWen) + "x" + kWen},
        {"straddling bytes are left alone", T(kZhong) + kWen, kStraddle, "x", false, T(kZhong) + kWen},
        {"second byte is left alone", T(kTrailBackslash) + "\\", "\\", "/", false, T(kTrailBackslash) + "/"},
        {"second byte is not folded", kTrailA, "a", "b", true, kTrailA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReplaceText(c.text, c.from, c.to, c.ignoreCase), c.expected);
    }
}

TEST(TextOpsTest, TrimRemovesOnlySpacesAndDoubleByteSpaces) {
    struct Case {
        const char* name;
        Text text;
        Text expected;
    } cases[] = {
        {"spaces both ends", "  a b  ", "a b"},
        {"double-byte spaces both ends", T(kIdeoSpace) + "a" + kIdeoSpace + kIdeoSpace, "a"},
        {"mixed blanks", T(" ") + kIdeoSpace + " " + kZhong + " " + kIdeoSpace, kZhong},
        {"tabs and line breaks stay", "\t a \r\n", "\t a \r\n"},
        {"line break inside spaces stays", " \n ", "\n"},
        {"only blanks", T("  ") + kIdeoSpace, ""},
        {"empty", "", ""},
        {"inner blanks stay", T("a") + kIdeoSpace + " b", T("a") + kIdeoSpace + " b"},
        // B0 A1 is a character, so the trailing A1 A1 bytes are not a double-byte space.
        {"A1 A1 bytes across two characters stay", "x\xB0\xA1\xA1", "x\xB0\xA1\xA1"},
        {"double-byte space after a character ending in A1", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
        // A space is never a second byte: after a lone lead byte it is a blank like any other.
        {"a space after a lone lead byte is trimmed", "x\xB0 ", "x\xB0"},
        {"a space before a lone lead byte is trimmed", " \xB0", "\xB0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TrimText(c.text), c.expected);
    }
}

TEST(TextOpsTest, LeftRightAndCharCodeCountBytes) {
    struct Case {
        const char* name;
        int n;
        const char* left;
        const char* right;
    } cases[] = {
        {"inside", 2, "ab", "cd"},
        {"whole", 4, "abcd", "abcd"},
        {"beyond", 9, "abcd", "abcd"},
        {"zero", 0, "", ""},
        {"negative", -1, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LeftText("abcd", c.n), c.left);
        EXPECT_EQ(RightText("abcd", c.n), c.right);
    }
    EXPECT_EQ(LeftText(T(kZhong) + "a", 1), "\xD6");
    EXPECT_EQ(RightText("", 3), "");

    const Text text = T("A") + kZhong;
    EXPECT_EQ(CharCodeAt(text, 1), 'A');
    EXPECT_EQ(CharCodeAt(text, 2), static_cast<int>(static_cast<signed char>('\xD6')));
    EXPECT_EQ(CharCodeAt(text, 2), -42);
    EXPECT_EQ(CharCodeAt(text, 3), -48);
    EXPECT_EQ(CharCodeAt(text, 0), 0);
    EXPECT_EQ(CharCodeAt(text, 4), 0);
    EXPECT_EQ(CharCodeAt("", 1), 0);
}

TEST(TextOpsTest, EqualsIgnoreCaseFoldsOnlyAsciiLetters) {
    struct Case {
        const char* name;
        Text a;
        Text b;
        bool expected;
    } cases[] = {
        {"same", "abc", "abc", true},
        {"different case", "Abc", "aBC", true},
        {"different letters", "abc", "abd", false},
        {"prefix", "ab", "abc", false},
        {"both empty", "", "", true},
        {"one empty", "", "a", false},
        {"brackets differ by the case bit but are not letters", "[", "{", false},
        {"at and back quote", "@", "`", false},
        {"same Chinese", T(kZhong) + "A", T(kZhong) + "a", true},
        {"second byte of a pair is not folded", kTrailA, "\x81\x61", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EqualsIgnoreCase(c.a, c.b), c.expected);
        EXPECT_EQ(EqualsIgnoreCase(c.b, c.a), c.expected);
    }
}
