#include "toollink/CommandLineQuoting.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineQuotingTest, OnlyATrailingRunOfBackslashCharactersIsDoubled) {
    struct Case {
        const char* name;
        Text argument;
        Text expected;
    } cases[] = {
        {"empty", "", ""},
        {"no backslash", "abc", "abc"},
        {"one at the end", "abc\\", "abc\\\\"},
        {"two at the end", "abc\\\\", "abc\\\\\\\\"},
        {"folder path", "C:\\dir\\", "C:\\dir\\\\"},
        {"only backslashes", "\\\\\\", "\\\\\\\\\\\\"},
        {"inside stay", "a\\b\\\\c", "a\\b\\\\c"},
        {"run broken by a space", "a\\ ", "a\\ "},
        // 0x95 0x5C is one character: its second byte is no backslash.
        {"pair with a backslash second byte last", "x\x95\x5C", "x\x95\x5C"},
        {"backslash after such a pair", "x\x95\x5C\\", "x\x95\x5C\\\\"},
        {"backslash before such a pair", "x\\\x95\x5C", "x\\\x95\x5C"},
        {"pair with a bar second byte", "\xD5\x7C\\", "\xD5\x7C\\\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BeforeClosingQuote(c.argument, LeadBytes::CodePage936()), c.expected);
    }
    // Under a one-byte code page 0x5C is a backslash wherever it stands.
    EXPECT_EQ(BeforeClosingQuote("x\x95\x5C", LeadBytes::CodePage1252()), "x\x95\x5C\\");
}

TEST(CommandLineQuotingTest, AnArgumentIsDoubledOnlyWhereAQuoteFollowsIt) {
    const LeadBytes& cp = LeadBytes::CodePage936();
    const Text a = "C:\\dir\\";
    struct Case {
        const char* name;
        std::vector<LinePiece> pieces;
        Text expected;
    } cases[] = {
        {"before a closing quote", {FixedText("t \""), Argument(a), FixedText("\"")}, "t \"C:\\dir\\\\\""},
        {"before a text that closes first",
         {FixedText("t \""), Argument(a), FixedText("\" --x \"")},
         "t \"C:\\dir\\\\\" --x \""},
        {"at the end of the line", {FixedText("t \""), Argument(a)}, "t \"C:\\dir\\"},
        {"before other text inside the quotes",
         {FixedText("t \""), Argument(a), FixedText("/"), Argument(a)},
         "t \"C:\\dir\\/C:\\dir\\"},
        {"empty pieces are looked past",
         {FixedText("t \""), Argument(a), FixedText(""), FixedText("\"")},
         "t \"C:\\dir\\\\\""},
        {"the program path stays", {FixedText("\""), ProgramPath("C:\\p\\"), FixedText("\" x")}, "\"C:\\p\\\" x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BuildCommandLine(c.pieces, cp), c.expected);
    }
}

TEST(CommandLineQuotingTest, OneUnsafeArgumentOrProgramRefusesTheLine) {
    const LeadBytes& cp = LeadBytes::CodePage936();
    EXPECT_EQ(BuildCommandLine({FixedText("a \""), Argument("ok"), FixedText("\" \""), Argument("x\xD5")}, cp),
              std::nullopt);
    EXPECT_EQ(BuildCommandLine({FixedText("\""), ProgramPath("C:\\100%\\t.exe"), FixedText("\" x")}, cp), std::nullopt);
    // Fixed texts are the program's own: they may hold quotes and anything else.
    EXPECT_EQ(BuildCommandLine({FixedText("\"%\""), Argument("ok")}, cp), "\"%\"ok");
}

}  // namespace
