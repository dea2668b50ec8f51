#include "workers/portable/EntryDesignator.h"

#include <gtest/gtest.h>

namespace {

TEST(EntryDesignatorTest, NamesThatTheToolWouldReadAsNumbersGoByTheirListedNumber) {
    struct Case {
        const char* name;
        Text entry;
        int32_t number;
        std::optional<Text> designator;
    } cases[] = {
        {"a name goes as it is", "Report", 7, Text("Report")},
        {"a name goes as it is without a number too", "Report", 0, Text("Report")},
        {"digits then a letter are a name", "12a", 3, Text("12a")},
        {"a leading space makes a name", " 12", 3, Text(" 12")},
        {"a minus sign makes a name", "-1", 3, Text("-1")},
        {"all digits go by the entry's own number", "1", 5, Text("5")},
        {"all digits equal to the number", "12", 12, Text("12")},
        {"leading zeros are digits too", "007", 2, Text("2")},
        {"no name goes by number", "", 9, Text("9")},
        {"all digits without a number cannot be told", "1", 0, std::nullopt},
        {"no name without a number cannot be told", "", 0, std::nullopt},
        {"a negative number is none", "3", -3, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EntryDesignator(c.entry, c.number), c.designator);
    }
}

}  // namespace
