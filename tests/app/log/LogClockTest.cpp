// The moment a log line is stamped with, in Unix milliseconds. The test program runs in a time
// zone far from UTC with daylight saving (see this folder's CMakeLists.txt), so a count taken
// from local time instead of UTC shows as hours of difference.

#include "app/log/LogClock.h"
#include "tests/support/FixedClock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

namespace {

class LogClockTest : public ::testing::Test {
  protected:
    void TearDown() override { SetLogClockForTesting(nullptr); }
};

TEST_F(LogClockTest, WritesSecondsSinceTheEpochThenThreeDigitsOfMilliseconds) {
    struct Case {
        const char* name;
        SYSTEMTIME utc;  // year, month, weekday (ignored), day, hour, minute, second, millisecond
        const char* expected;
    };
    const Case cases[] = {
        {"7 ms is written 007", {2023, 11, 0, 14, 22, 13, 20, 7}, "1700000000007"},
        {"45 ms is written 045", {2023, 11, 0, 14, 22, 13, 20, 45}, "1700000000045"},
        {"three digits stay as they are", {2023, 11, 0, 14, 22, 13, 20, 999}, "1700000000999"},
        {"no milliseconds", {2023, 11, 0, 14, 22, 13, 20, 0}, "1700000000000"},
        {"summer time plays no part", {2024, 7, 0, 15, 13, 5, 7, 250}, "1721048707250"},
        {"first moment with ten digits of seconds", {2001, 9, 0, 9, 1, 46, 40, 0}, "1000000000000"},
        // Fewer digits are filled on the left, so the number still names the same moment.
        {"last moment with nine digits of seconds", {2001, 9, 0, 9, 1, 46, 39, 500}, "0999999999500"},
        {"the epoch itself", {1970, 1, 0, 1, 0, 0, 0, 0}, "0000000000000"},
        {"one second after the epoch", {1970, 1, 0, 1, 0, 0, 1, 2}, "0000000001002"},
        {"eleven digits of seconds make fourteen", {2286, 11, 0, 20, 17, 46, 40, 1}, "10000000000001"},
        {"a clock before the epoch counts as the epoch", {1960, 5, 0, 1, 12, 0, 0, 30}, "0000000000030"},
    };
    SetLogClockForTesting(FixedClock);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetFixedClock(c.utc);
        EXPECT_EQ(CurrentEpochMillis(), c.expected);
    }
}

TEST_F(LogClockTest, SystemClockGivesThirteenDigitsOfUnixMilliseconds) {
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    const Text millis = CurrentEpochMillis();

    ASSERT_EQ(millis.size(), 13u) << millis;
    EXPECT_EQ(millis.find_first_not_of("0123456789"), Text::npos) << millis;
    // FILETIME counts 100 ns steps since 1601; the Unix epoch is 11644473600 seconds later.
    const uint64_t ticks = (static_cast<uint64_t>(before.dwHighDateTime) << 32) | before.dwLowDateTime;
    const int64_t expectedMillis = static_cast<int64_t>(ticks / 10000) - 11644473600000LL;
    const int64_t difference = std::stoll(millis) - expectedMillis;
    EXPECT_GE(difference, 0) << millis;
    EXPECT_LT(difference, 5000) << millis;
}

}  // namespace
