#include "toollink/CommandLineSafety.h"

#include <gtest/gtest.h>

namespace {

struct SafetyCase {
    const char* name;
    Text argument;
    bool safe;
};

TEST(CommandLineSafetyTest, RefusesExactlyWhatCouldLeaveTheQuotes) {
    const SafetyCase cases[] = {
        {"empty", "", true},
        {"plain path", "C:\\Backups\\entry 7.bak", true},
        {"interpreter operators are literal inside quotes", "a&b|c<d>e^f(g)h!i", true},
        {"tab", "a\tb", true},
        {"double-byte name", "\xb1\xed\xb8\xf1", true},  // two characters of code page 936
        {"double-byte with 0x5C second byte", "\x95\x5c", true},
        {"double quote", "a\"b", false},
        {"lone double quote", "\"", false},
        {"percent sign", "100%", false},
        {"variable reference", "%PATH%", false},
        {"carriage return", "a\rb", false},
        {"line feed", "a\nb", false},
        {"zero byte inside", Text("a\0b", 3), false},
        {"zero byte at the end", Text("ab\0", 3), false},
        // A lead byte without its second byte takes the closing quote as its second byte when the
        // line is converted.
        {"lead byte at the end", "x\xD5", false},
        {"lead byte before a space", "x\xD5 y", false},
        {"lead byte before DEL", "x\xD5\x7F", false},
        {"lead byte after a whole pair", "\xB1\xED\xB8", false},
        {"backslash and a lead byte at the end", "C:\\dir\\\xD5", false},
        {"0x80 alone is a character", "x\x80", true},
        {"0xFF alone is a character", "x\xFF", true},
    };
    for (const SafetyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSafeCommandArgument(c.argument, LeadBytes::CodePage936()), c.safe);
#ifdef _WIN32
        // Under Wine the tests run with code page 936 active (natively there is no active one).
        EXPECT_EQ(IsSafeCommandArgument(c.argument), c.safe);
#endif
    }
}

TEST(CommandLineSafetyTest, WholeTextDependsOnTheCodePage) {
    // Under a one-byte code page 0xD5 is a character of its own; the other rules stay.
    EXPECT_TRUE(IsSafeCommandArgument("x\xD5", LeadBytes::CodePage1252()));
    EXPECT_FALSE(IsSafeCommandArgument("x\xD5\"", LeadBytes::CodePage1252()));
    EXPECT_FALSE(IsSafeCommandArgument("x\xD5", LeadBytes::CodePage936()));
}

}  // namespace
