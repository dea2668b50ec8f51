// The test-side readers of command lines (tests/support/portable/CommandLineSplit.h) against the examples
// the rules are documented with, so the property tests that rely on them rely on something.

#include "tests/support/portable/CommandLineSplit.h"

#include <gtest/gtest.h>

namespace {

WideText W(const char* ascii) {
    WideText wide;
    for (const char* c = ascii; *c; ++c)
        wide += static_cast<char16_t>(static_cast<unsigned char>(*c));
    return wide;
}

std::vector<WideText> Ws(std::initializer_list<const char*> texts) {
    std::vector<WideText> wides;
    for (const char* t : texts)
        wides.push_back(W(t));
    return wides;
}

TEST(CommandLineSplitTest, CRuntimeSplitsAsDocumented) {
    struct Case {
        const char* line;
        std::vector<WideText> expected;
    } cases[] = {
        {R"~(p "a b c" d e)~", Ws({"p", "a b c", "d", "e"})},
        {R"~(p "ab\"c" "\\" d)~", Ws({"p", R"~(ab"c)~", R"~(\)~", "d"})},
        {R"~(p a\\\b d"e f"g h)~", Ws({"p", R"~(a\\\b)~", "de fg", "h"})},
        {R"~(p a\\\"b c d)~", Ws({"p", R"~(a\"b)~", "c", "d"})},
        {R"~(p a\\\\"b c" d e)~", Ws({"p", R"~(a\\b c)~", "d", "e"})},
        {R"~(p a"b"" c d)~", Ws({"p", R"~(ab" c d)~"})},
        {R"~("C:\My Dir\p.exe" x)~", Ws({R"~(C:\My Dir\p.exe)~", "x"})},
        {R"~(C:\dir\p.exe\ "x\)~", Ws({R"~(C:\dir\p.exe\)~", R"~(x\)~"})},
        {"p \"\" \"", Ws({"p", "", ""})},
        {"p\ta  \t", Ws({"p", "a"})},
        {R"~(p --name "abc\" --file "C:\My Backups\x.bak")~",
         Ws({"p", "--name", R"~(abc" --file C:\My)~", R"~(Backups\x.bak)~"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitAsCRuntime(W(c.line)), c.expected);
    }
}

TEST(CommandLineSplitTest, InterpreterFindsWhatLeavesTheQuotes) {
    const char* prefix = R"~("C:\windows\system32\cmd.exe" /d /v:off /s /c @)~";
    struct Case {
        const char* name;
        Text line;
        bool safe;
        const char* command;
    } cases[] = {
        {"operators inside quotes", Text(prefix) + R"~(t.exe "a&b|c<d>e^f(g)" x)~", true,
         R"~(t.exe "a&b|c<d>e^f(g)" x)~"},
        {"ampersand outside", Text(prefix) + R"~(t.exe "a"&calc)~", false, ""},
        {"caret outside", Text(prefix) + "t.exe a^b", false, ""},
        {"parenthesis outside", Text(prefix) + "t.exe (a)", false, ""},
        {"percent inside quotes", Text(prefix) + R"~(t.exe "%PATH%")~", false, ""},
        {"line break inside quotes", Text(prefix) + "t.exe \"a\nb\"", false, ""},
        {"exclamation mark without delayed expansion", Text(prefix) + R"~(t.exe "!x!")~", true, R"~(t.exe "!x!")~"},
        {"exclamation mark under /v:on", R"~(cmd.exe /v:on /s /c t.exe "!x!")~", false, ""},
        {"an at sign later is literal", Text(prefix) + R"~(t.exe "a@b")~", true, R"~(t.exe "a@b")~"},
        // /s: the first and the last quote of the rest go.
        {"quoted program under /s", R"~(cmd.exe /s /c ""C:\p q\t.exe" "a&b"")~", true, R"~("C:\p q\t.exe" "a&b")~"},
        {"quoted program without /s, more quotes", R"~(cmd.exe /c "C:\p q\t.exe" "a&b")~", false, ""},
        {"quoted program without /s, two quotes", R"~(cmd.exe /c "C:\p q\t.exe" x)~", true, R"~("C:\p q\t.exe" x)~"},
        {"no /c", "cmd.exe /s t.exe", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WideText line;
        for (char ch : c.line)
            line += static_cast<char16_t>(static_cast<unsigned char>(ch));
        const InterpreterReading reading = ReadAsInterpreter(line);
        EXPECT_EQ(reading.safe, c.safe) << reading.problem;
        if (c.safe) {
            EXPECT_EQ(reading.command, W(c.command));
        }
    }
}

// Percent signs are read before quotes: the text up to the next percent sign names a variable
// wherever it stands, unless no variable can be named so.
TEST(CommandLineSplitTest, InterpreterFindsEveryPercentSignThatMayStartAVariable) {
    const Text prefix = R"~("C:\windows\system32\cmd.exe" /d /v:off /s /c @)~";
    const MayBeDefined notQuoted = [](const WideText& name) { return name.empty() || name[0] != u'"'; };
    struct Case {
        const char* name;
        Text line;
        bool safe;
    } cases[] = {
        {"a variable inside quotes", R"~(t.exe "%PATH%")~", false},
        {"a variable made of two arguments", R"~(t.exe "a%b" "c%")~", false},
        {"a part of a variable", R"~(t.exe "%OS:~0,1%")~", false},
        {"a lone percent sign stays", R"~(t.exe "100%")~", true},
        {"no name between two", R"~(t.exe "%%")~", true},
        {"every name starts with a quote", R"~(t.exe "a"%"PATH"%"b" "x"%"")~", true},
        {"a colon after a quote", R"~(t.exe ""%"PATH:~0,1"%"")~", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const InterpreterReading reading = ReadAsInterpreter(W((prefix + c.line).c_str()), notQuoted);
        EXPECT_EQ(reading.safe, c.safe) << reading.problem;
    }
    EXPECT_FALSE(ReadAsInterpreter(W((prefix + R"~(t.exe "a"%"PATH"%"b")~").c_str())).safe)
        << "where any name may be defined";
}

TEST(CommandLineSplitTest, ALoneLeadByteSwallowsWhatFollows) {
    const LeadBytes& cp = LeadBytes::CodePage936();
    // The decoded line: the lone lead byte takes the closing quote, so the next argument's opening
    // quote closes instead, and what was meant to be inside quotes stands outside them.
    const WideText line = DecodeWithLeadBytes("cmd.exe /s /c @t.exe \"x\xD5\" \"&echo INJECTED&\"", cp);
    EXPECT_FALSE(ReadAsInterpreter(line).safe);
    EXPECT_TRUE(ReadAsInterpreter(DecodeWithLeadBytes("cmd.exe /s /c @t.exe \"x\xD5\xA1\" \"&echo no&\"", cp)).safe);
    EXPECT_EQ(DecodeWithLeadBytes("a\x95\x5C", cp).size(), 2u) << "a pair is one unit";
    EXPECT_EQ(DecodeWithLeadBytes("a\x95\x5C", LeadBytes::CodePage1252()).size(), 3u);
}

}  // namespace
