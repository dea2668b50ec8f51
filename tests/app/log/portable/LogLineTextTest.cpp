// The two forms of a log line: the window's, with the time of day, and the log file's, with the
// date in front of it. Both from the same date text.

#include "app/log/portable/LogLineText.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(LogLineTextTest, TheBoxShowsTheTimeAndTheFileTheDateAndTime) {
    struct Case {
        const char* name;
        Text dateText;
        Text message;
        Text box;
        Text file;
    };
    const Case cases[] = {
        {"a whole date text", "2026/4/17 09:05:07", "A: backed up 1/3", "09:05:07 - A: backed up 1/3\r\n",
         "2026/4/17 09:05:07 - A: backed up 1/3\r\n"},
        {"no date text: both begin with the separator", "", "Total: 3 entries to back up",
         " - Total: 3 entries to back up\r\n", " - Total: 3 entries to back up\r\n"},
        {"a date text shorter than a time", "9:05", "x", "9:05 - x\r\n", "9:05 - x\r\n"},
        {"an empty message still makes a line", "2026/12/31 23:59:59", "", "23:59:59 - \r\n",
         "2026/12/31 23:59:59 - \r\n"},
        {"double-byte message kept byte for byte", "2026/1/2 03:04:05", "\xbf\xcd\xbb\xa7: restored 2/2",
         "03:04:05 - \xbf\xcd\xbb\xa7: restored 2/2\r\n", "2026/1/2 03:04:05 - \xbf\xcd\xbb\xa7: restored 2/2\r\n"},
        {"a zero byte cannot end the line", "2026/1/2 03:04:05", Text("a\0b", 3), "03:04:05 - a?b\r\n",
         "2026/1/2 03:04:05 - a?b\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BoxLogLine(c.dateText, c.message), c.box);
        EXPECT_EQ(FileLogLine(c.dateText, c.message), c.file);
    }
}

// A line the disk cut off halfway is ended before the next one, so no line is glued to it.
TEST(LogLineTextTest, TheNextLineOfTheFileStartsOnALineOfItsOwn) {
    struct Case {
        const char* name;
        std::optional<char> lastByte;
        Text before;
    };
    const Case cases[] = {
        {"an empty file", std::nullopt, ""},
        {"a whole last line", '\n', ""},
        {"a line torn in its text", 'x', "\r\n"},
        {"a line torn between its two ends", '\r', "\n"},
        {"a line torn after the first byte of a pair", '\xbf', "\r\n"},
        {"a line torn after a zero byte", '\0', "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LogFileLineBreakBefore(c.lastByte), c.before);
    }
}

}  // namespace
