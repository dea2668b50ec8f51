#include "toollink/portable/CommandLineQuoting.h"

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

// The command interpreter expands %NAME% inside quotes too: a percent sign of an argument stands
// outside the quotes, right before a quote that opens them again.
TEST(CommandLineQuotingTest, EveryPercentSignOfAnArgumentStandsOutsideTheQuotes) {
    const LeadBytes& cp = LeadBytes::CodePage936();
    struct Case {
        const char* name;
        std::vector<LinePiece> pieces;
        Text expected;
    } cases[] = {
        {"one", {FixedText("t \""), Argument("100% done"), FixedText("\"")}, R"~(t "100"%" done")~"},
        {"a variable's name between two", {FixedText("t \""), Argument("%PATH%"), FixedText("\"")},
         R"~(t ""%"PATH"%"")~"},
        {"two side by side", {FixedText("t \""), Argument("%%")}, R"~(t ""%""%")~"},
        // A backslash right before a quote the C runtime reads is doubled, wherever that quote is.
        {"after backslashes", {FixedText("t \""), Argument("C:\\d\\%\\"), FixedText("\"")},
         R"~(t "C:\d\\"%"\\")~"},
        {"after a double-byte character whose second byte is 0x5C", {FixedText("t \""), Argument("\x95\x5C%")},
         "t \"\x95\x5C\"%\""},
        {"fixed texts are placed as they are", {FixedText("\"%\""), Argument("ok")}, "\"%\"ok"},
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
    EXPECT_EQ(BuildCommandLine({FixedText("a \""), Argument("say \"hi\"")}, cp), std::nullopt);
    // The program path is placed as it stands: a percent sign there is refused.
    EXPECT_EQ(BuildCommandLine({FixedText("\""), ProgramPath("C:\\100%\\t.exe"), FixedText("\" x")}, cp), std::nullopt);
}

}  // namespace
