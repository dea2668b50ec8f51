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
    };
    for (const SafetyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSafeCommandArgument(c.argument), c.safe);
    }
}

}  // namespace
