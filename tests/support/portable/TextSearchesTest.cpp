#include "tests/support/portable/TextSearches.h"

#include <gtest/gtest.h>

namespace {

TEST(TextSearchesTest, EndsWith) {
    struct Case {
        const char* name;
        Text text;
        Text tail;
        bool ends;
    };
    const Case cases[] = {
        {"the tail", "entryctl.exe admin", "admin", true},
        {"the whole text", "admin", "admin", true},
        {"an empty tail", "admin", "", true},
        {"longer than the text", "min", "admin", false},
        {"only in the middle", "admin list", "admin", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EndsWith(c.text, c.tail), c.ends);
    }
}

TEST(TextSearchesTest, OccurrencesCountsWithoutOverlaps) {
    struct Case {
        const char* name;
        Text text;
        Text part;
        int count;
    };
    const Case cases[] = {
        {"none", "abc", "x", 0},
        {"apart", "a-x-a-x", "x", 2},
        {"at both ends", "xax", "x", 2},
        {"overlapping counts once", "aaa", "aa", 1},
        {"an empty part", "abc", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Occurrences(c.text, c.part), c.count);
    }
}

}  // namespace
