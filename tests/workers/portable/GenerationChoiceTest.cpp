// /from:<value>: the generation a name or a prefix names, newest by sequence number, and the
// nearest names when it names none.

#include "workers/portable/GenerationChoice.h"

#include <gtest/gtest.h>

namespace {

// In the order a folder listing might give, with the sequence numbers the generations recorded.
const std::vector<OfferedGeneration> kOffered = {
    {"2026-12-09_020000", 1},
    {"2026-12-10_020000", 2},
    {"2026-12-10_020000_2", 5},  // the clock was set back before this pass
    {"2026-12-10_140000", 3},
    {"2026-12-11_020000-keep", 6},
    {"2026-12-11_020000_before-restore", 7},
};

TEST(GenerationChoiceTest, AnExactNameOrElseTheNewestItBegins) {
    struct Case {
        const char* name;
        Text value;
        size_t chosen;
    } cases[] = {
        {"an exact name, though longer names begin with it", "2026-12-10_020000", 1},
        {"an exact name in other letters", "2026-12-11_020000-KEEP", 4},
        {"a day: the newest of it by number, not by name", "2026-12-10", 2},
        {"a time that only a pinned and a safety copy begin", "2026-12-11_020000", 5},
        {"a month", "2026-12", 5},
        {"a unique prefix", "2026-12-09", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GenerationChoice choice = ChooseGeneration(c.value, kOffered);
        ASSERT_TRUE(choice.chosen.has_value());
        EXPECT_EQ(*choice.chosen, c.chosen);
        EXPECT_TRUE(choice.nearest.empty());
    }
}

TEST(GenerationChoiceTest, AValueThatNamesNoneGivesTheNearestNames) {
    struct Case {
        const char* name;
        Text value;
        TextArray nearest;
    } cases[] = {
        {"between two days", "2026-12-09_1", {"2026-12-09_020000", "2026-12-10_020000"}},
        {"after the last", "2026-12-12", {"2026-12-11_020000_before-restore"}},
        {"before the first", "2025", {"2026-12-09_020000"}},
        {"a name with something after it", "2026-12-10_020000_2x", {"2026-12-10_020000_2", "2026-12-10_140000"}},
        {"empty", "", {"2026-12-09_020000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GenerationChoice choice = ChooseGeneration(c.value, kOffered);
        EXPECT_FALSE(choice.chosen.has_value());
        EXPECT_EQ(choice.nearest, c.nearest);
    }
    EXPECT_TRUE(ChooseGeneration("2026", {}).nearest.empty()) << "no history at all";
}

}  // namespace
