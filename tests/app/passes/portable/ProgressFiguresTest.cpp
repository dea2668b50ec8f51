// What the title and the taskbar button show while passes run.

#include "app/passes/portable/ProgressFigures.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressFiguresTest, TheTitleSaysWhatEachRunningPassDoes) {
    struct Case {
        const char* name;
        PassesShown shown;
        const char* title;
    };
    const Case cases[] = {
        {"no pass", {}, "Entry Keeper"},
        {"a backup", {PassPosition{12, 50}, std::nullopt}, "Entry Keeper - backing up 12/50"},
        {"a restore", {std::nullopt, PassPosition{3, 8}}, "Entry Keeper - restoring 3/8"},
        {"both, the backup first", {PassPosition{1, 2}, PassPosition{7, 7}},
         "Entry Keeper - backing up 1/2, restoring 7/7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ProgressTitle(c.shown), c.title);
    }
}

TEST(ProgressFiguresTest, TheTaskbarCountsTheEntriesBeforeEachPosition) {
    struct Case {
        const char* name;
        PassesShown shown;
        uint64_t done;
        uint64_t total;
    };
    const Case cases[] = {
        {"no pass: no progress", {}, 0, 0},
        {"at the first entry nothing is done", {PassPosition{1, 50}, std::nullopt}, 0, 50},
        {"at entry 12, eleven are done", {PassPosition{12, 50}, std::nullopt}, 11, 50},
        {"both passes add up", {PassPosition{12, 50}, PassPosition{3, 8}}, 13, 58},
        {"a pass with no entries adds nothing", {PassPosition{0, 0}, PassPosition{2, 4}}, 1, 4},
        {"a position past the total is held at it", {PassPosition{9, 4}, std::nullopt}, 4, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WorkDone work = TaskbarWorkDone(c.shown);
        EXPECT_EQ(work.done, c.done);
        EXPECT_EQ(work.total, c.total);
    }
}

}  // namespace
