#include "toollink/portable/CommandLineSafety.h"

#include <gtest/gtest.h>

namespace {

struct SafetyCase {
    const char* name;
    Text argument;
    bool safe;
    bool safeAsItStands;  // placed as it stands, where a percent sign is not moved out of the quotes
};

TEST(CommandLineSafetyTest, RefusesExactlyWhatCouldLeaveTheQuotes) {
    const SafetyCase cases[] = {
        {"empty", "", true, true},
        {"plain path", "C:\\Backups\\entry 7.bak", true, true},
        {"interpreter operators are literal inside quotes", "a&b|c<d>e^f(g)h!i", true, true},
        {"tab", "a\tb", true, true},
        {"double-byte name", "\xb1\xed\xb8\xf1", true, true},  // two characters of code page 936
        {"double-byte with 0x5C second byte", "\x95\x5c", true, true},
        {"double quote", "a\"b", false, false},
        {"lone double quote", "\"", false, false},
        // The interpreter expands variables inside quotes too: in an argument a percent sign is
        // placed where no variable's name can follow it; text placed as it stands has none.
        {"percent sign", "100%", true, false},
        {"variable reference", "%PATH%", true, false},
        {"percent sign after a double-byte character", "\xB0\xD9%", true, false},
        {"carriage return", "a\rb", false, false},
        {"line feed", "a\nb", false, false},
        {"zero byte inside", Text("a\0b", 3), false, false},
        {"zero byte at the end", Text("ab\0", 3), false, false},
        // A lead byte without its second byte takes the closing quote as its second byte when the
        // line is converted.
        {"lead byte at the end", "x\xD5", false, false},
        {"lead byte before a space", "x\xD5 y", false, false},
        {"lead byte before DEL", "x\xD5\x7F", false, false},
        {"lead byte after a whole pair", "\xB1\xED\xB8", false, false},
        {"backslash and a lead byte at the end", "C:\\dir\\\xD5", false, false},
        {"0x80 alone is a character", "x\x80", true, true},
        {"0xFF alone is a character", "x\xFF", true, true},
    };
    for (const SafetyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSafeCommandArgument(c.argument, LeadBytes::CodePage936()), c.safe);
        EXPECT_EQ(IsSafeVerbatimText(c.argument, LeadBytes::CodePage936()), c.safeAsItStands);
#ifdef _WIN32
        // Under Wine the tests run with code page 936 active (natively there is no active one).
        EXPECT_EQ(IsSafeCommandArgument(c.argument), c.safe);
        EXPECT_EQ(IsSafeVerbatimText(c.argument), c.safeAsItStands);
#endif
    }
}

TEST(CommandLineSafetyTest, WholeTextDependsOnTheCodePage) {
    // Under a one-byte code page 0xD5 is a character of its own; the other rules stay.
    EXPECT_TRUE(IsSafeCommandArgument("x\xD5", LeadBytes::CodePage1252()));
    EXPECT_FALSE(IsSafeCommandArgument("x\xD5\"", LeadBytes::CodePage1252()));
    EXPECT_FALSE(IsSafeCommandArgument("x\xD5", LeadBytes::CodePage936()));
}

// A percent sign is moved out of the quotes only where it is a character of its own; in a code
// page whose pairs could end in 0x25 that would split the character.
TEST(CommandLineSafetyTest, APercentSignAsTheSecondByteOfAPairIsRefused) {
    LeadBytes table;
    table.AddLeadRange(0x81, 0xFE).AddTrailRange(0x20, 0x7E);
    EXPECT_TRUE(IsSafeCommandArgument("a%", table));
    EXPECT_FALSE(IsSafeCommandArgument("a\x81%", table));
}

}  // namespace
