// When the log file is set aside for a new one.

#include "app/log/portable/LogRotation.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(LogRotationTest, AFileIsSetAsideBeforeALineWouldTakeItPastTheLimit) {
    constexpr uint64_t kLimit = 100;
    struct Case {
        const char* name;
        uint64_t size;
        uint64_t line;
        bool due;
    };
    const Case cases[] = {
        {"an empty file takes any line", 0, 40, false},
        {"an empty file takes a line longer than the limit whole", 0, 250, false},
        {"a line that fits", 50, 40, false},
        {"a line that fills the file exactly", 60, 40, false},
        {"one byte past the limit", 61, 40, true},
        {"a file at the limit", 100, 1, true},
        {"a file already past the limit (an older program wrote it)", 5000, 1, true},
        {"a huge line into a small file", 1, UINT64_MAX, true},
        {"a huge file", UINT64_MAX, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LogRotationDue(c.size, c.line, kLimit), c.due);
    }
    EXPECT_EQ(kLogFileSizeLimit, 1048576u);
    EXPECT_FALSE(LogRotationDue(kLogFileSizeLimit - 10, 10));
    EXPECT_TRUE(LogRotationDue(kLogFileSizeLimit - 10, 11));
}

TEST(LogRotationTest, TheFullFileKeepsItsNameWithOneAppended) {
    EXPECT_EQ(RotatedLogPath("D:\\logs\\ek.log"), "D:\\logs\\ek.log.1");
    EXPECT_EQ(RotatedLogPath("run"), "run.1");
}

}  // namespace
