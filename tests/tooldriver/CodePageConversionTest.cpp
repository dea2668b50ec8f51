#include "tooldriver/CodePageConversion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/portable/ActiveLeadBytes.h"

// Byte spellings of the same words. The expectations hold whatever the system's code page is:
// only the size of the intermediate buffers depends on it.
namespace {
constexpr char kUtf8Zhongwen[] = "\xE4\xB8\xAD\xE6\x96\x87";  // "Chinese" (two characters), UTF-8
constexpr char kGbkZhongwen[] = "\xD6\xD0\xCE\xC4";           // the same in code page 936
constexpr char kUtf8Thai[] = "\xE0\xB8\x81";                  // a Thai letter: not in code page 936
constexpr char kUtf8Emoji[] = "\xF0\x9F\x98\x80";             // outside the BMP: a surrogate pair

char DefaultCharOf(UINT codePage) {
    CPINFOEXA info{};
    EXPECT_TRUE(GetCPInfoExA(codePage, 0, &info));
    return static_cast<char>(info.DefaultChar[0]);
}

Text Repeat(const Text& piece, int times) {
    Text out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

WideText WideOf(const std::u16string& units) {
    WideText wide;
    for (char16_t unit : units) {
        wide.push_back(static_cast<uint8_t>(unit & 0xFF));
        wide.push_back(static_cast<uint8_t>(unit >> 8));
    }
    wide.push_back(0);
    wide.push_back(0);
    return wide;
}

// The units before the first zero unit, and whether everything after it is zero bytes.
std::u16string UnitsOf(const WideText& wide, bool* restIsZero) {
    std::u16string units;
    size_t i = 0;
    for (; i + 1 < wide.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(wide[i] | (wide[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        units += unit;
    }
    *restIsZero = i + 1 < wide.size();
    for (; i < wide.size(); ++i) {
        *restIsZero = *restIsZero && wide[i] == 0;
    }
    return units;
}
}  // namespace

// The build also runs this program under a one-byte code page and says which in EK_EXPECT_ACP;
// without it the program runs under the product's code page.
TEST(CodePageConversionTest, RunsUnderTheExpectedSystemCodePage) {
    const char* expected = std::getenv("EK_EXPECT_ACP");
    EXPECT_EQ(GetACP(), expected != nullptr ? static_cast<UINT>(std::atoi(expected)) : 936u);
}

// Command lines are checked against the table of the code page the process runs under.
TEST(CodePageConversionTest, ActiveLeadBytesAreThoseOfTheSystemCodePage) {
    const LeadBytes& active = ActiveLeadBytes();
    if (GetACP() == 936) {
        EXPECT_TRUE(active == LeadBytes::CodePage936());
    } else {
        CPINFO info = {};
        ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
        ASSERT_EQ(info.MaxCharSize, 1u) << "this run expects a one-byte code page";
        EXPECT_FALSE(active.HasLeadBytes());
        EXPECT_TRUE(active.IsWholeText("x\xD5"));
    }
}

TEST(CodePageConversionTest, Utf8ComesBackAsCodePage936) {
    const char q = DefaultCharOf(936);
    struct Case {
        const char* name;
        Text utf8;
        Text expected;
    } cases[] = {
        {"Chinese word", kUtf8Zhongwen, kGbkZhongwen},
        {"ASCII unchanged", "Entry 12\tok\r\n", "Entry 12\tok\r\n"},
        {"mixed", Text("a ") + kUtf8Zhongwen + " b", Text("a ") + kGbkZhongwen + " b"},
        {"own trailing spaces stay, none are added", Text(kUtf8Zhongwen) + "  ", Text(kGbkZhongwen) + "  "},
        {"empty stays empty", "", ""},
        {"character 936 cannot hold", Text("x") + kUtf8Thai + "y", Text("x") + q + "y"},
        {"only characters 936 cannot hold", Repeat(kUtf8Thai, 4), Text(4, q)},
        // The buffer is sized for many more bytes than the answer; none of them may follow it.
        {"long Chinese text", Repeat(kUtf8Zhongwen, 500), Repeat(kGbkZhongwen, 500)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToCp936(c.utf8), c.expected);
    }
}

TEST(CodePageConversionTest, CharacterOutsideTheBmpBecomesTheDefaultCharacter) {
    const char q = DefaultCharOf(936);
    const Text result = Utf8ToCp936(Text("a") + kUtf8Emoji + "b");
    ASSERT_GE(result.size(), 3u);
    EXPECT_EQ(result.front(), 'a');
    EXPECT_EQ(result.back(), 'b');
    EXPECT_EQ(result.substr(1, result.size() - 2), Text(result.size() - 2, q));
}

// Code page 936 text handed over as if it were UTF-8: every bad byte becomes a replacement unit,
// more units than the system's code page counts for those bytes. The whole answer must still
// come back as default characters, not a cut-off or garbled part.
TEST(CodePageConversionTest, TextThatIsNotUtf8BecomesDefaultCharactersWhole) {
    const char q = DefaultCharOf(936);
    const Text result = Utf8ToCp936(Text("ab") + kGbkZhongwen + "cd");
    EXPECT_EQ(result, Text("ab") + Text(4, q) + "cd");
}

TEST(CodePageConversionTest, ToWideTextGivesUtf16WithAZeroUnitInsideTheBuffer) {
    struct Case {
        const char* name;
        Text text;
        UINT codePage;
        std::u16string expected;
    } cases[] = {
        {"UTF-8 by default", kUtf8Zhongwen, 0, u"\u4E2D\u6587"},
        {"code page 936", kGbkZhongwen, 936, u"\u4E2D\u6587"},
        {"ASCII", "Abc 1", 0, u"Abc 1"},
        {"empty", "", 0, u""},
        // Four bytes are two characters in 936 but four in 1252: more units than 936 counts.
        {"one byte a character in a one-byte code page", kGbkZhongwen, 1252, u"\u00D6\u00D0\u00CE\u00C4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WideText wide = c.codePage == 0 ? ToWideText(c.text) : ToWideText(c.text, c.codePage);
        bool restIsZero = false;
        EXPECT_EQ(UnitsOf(wide, &restIsZero), c.expected);
        EXPECT_TRUE(restIsZero) << "no zero unit inside the buffer, or bytes after it";
    }
}

TEST(CodePageConversionTest, FromWideTextStopsAtTheFirstZeroUnitAndStaysInsideTheBuffer) {
    struct Case {
        const char* name;
        WideText wide;
        UINT codePage;
        Text expected;
    } cases[] = {
        {"to 936", WideOf(u"\u4E2D\u6587"), 936, kGbkZhongwen},
        {"to UTF-8", WideOf(u"\u4E2D\u6587"), 65001, kUtf8Zhongwen},
        {"zero bytes after the terminator", {0x41, 0, 0, 0, 0, 0, 0, 0}, 936, "A"},
        {"units after the terminator are ignored", {0x41, 0, 0, 0, 0x42, 0}, 936, "A"},
        {"no terminator at all", {0x2D, 0x4E, 0x87, 0x65}, 936, kGbkZhongwen},
        {"odd length", {0x41, 0, 0x42}, 936, "A"},
        {"empty buffer", {}, 936, ""},
        // A letter that is one default character in 936 or 1252 is three bytes of UTF-8.
        {"more bytes than the system's code page needs", WideOf(u"\u0E01\u0E01\u0E01\u0E01"), 65001,
         Repeat(kUtf8Thai, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FromWideText(c.wide, c.codePage), c.expected);
    }
}

TEST(CodePageConversionTest, FromWideTextDefaultsToTheSystemCodePage) {
    const WideText wide = WideOf(u"a\u4E2D");
    EXPECT_EQ(FromWideText(wide), FromWideText(wide, GetACP()));
    EXPECT_EQ(FromWideText(WideOf(u"plain")), "plain");
}
