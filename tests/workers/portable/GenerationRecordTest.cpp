// A generation's record of its start and sequence number: written exactly, and read only when the
// file is whole (a damaged record must not give a generation a wrong place in the order).

#include "workers/portable/GenerationRecord.h"

#include <gtest/gtest.h>

namespace {

constexpr GenerationRecord kRecord{17, {2026, 12, 11, 1, 0, 3}};
const Text kWritten = "Sequence=17\r\nStartedUtc=2026-12-11T01:00:03Z\r\n";

TEST(GenerationRecordTest, WritesTheSequenceAndUtcStartAndReadsThemBack) {
    EXPECT_EQ(GenerationRecordText(kRecord), kWritten);
    EXPECT_EQ(ReadGenerationRecord(kWritten), kRecord);
    for (const GenerationRecord& record : {GenerationRecord{1, {1, 1, 1, 0, 0, 0}},
                                           GenerationRecord{kMaxGenerationSequence, {9999, 12, 31, 23, 59, 59}}}) {
        SCOPED_TRACE(record.sequence);
        EXPECT_EQ(ReadGenerationRecord(GenerationRecordText(record)), record);
    }
}

TEST(GenerationRecordTest, RefusesToWriteWhatCouldNotBeReadBack) {
    EXPECT_EQ(GenerationRecordText({0, kRecord.startedUtc}), "");
    EXPECT_EQ(GenerationRecordText({kMaxGenerationSequence + 1, kRecord.startedUtc}), "");
    EXPECT_EQ(GenerationRecordText({17, {2026, 2, 29, 0, 0, 0}}), "");
}

TEST(GenerationRecordTest, ADamagedRecordIsNoRecord) {
    struct Case {
        const char* name;
        Text content;
    } cases[] = {
        {"empty", ""},
        {"cut after the first line", "Sequence=17\r\n"},
        {"cut inside the time", "Sequence=17\r\nStartedUtc=2026-12-11T01:0"},
        {"without the last line end", "Sequence=17\r\nStartedUtc=2026-12-11T01:00:03Z"},
        {"half the last line end", "Sequence=17\r\nStartedUtc=2026-12-11T01:00:03Z\r"},
        {"line feeds only", "Sequence=17\nStartedUtc=2026-12-11T01:00:03Z\n"},
        {"a line more", kWritten + "Sequence=18\r\n"},
        {"a blank line more", kWritten + "\r\n"},
        {"the lines swapped", "StartedUtc=2026-12-11T01:00:03Z\r\nSequence=17\r\n"},
        {"a byte-order mark", "\xEF\xBB\xBF" + kWritten},
        {"a blank after the number", "Sequence=17 \r\nStartedUtc=2026-12-11T01:00:03Z\r\n"},
        {"a leading zero", "Sequence=017\r\nStartedUtc=2026-12-11T01:00:03Z\r\n"},
        {"a sign", "Sequence=+17\r\nStartedUtc=2026-12-11T01:00:03Z\r\n"},
        {"sequence 0", "Sequence=0\r\nStartedUtc=2026-12-11T01:00:03Z\r\n"},
        {"no sequence", "Sequence=\r\nStartedUtc=2026-12-11T01:00:03Z\r\n"},
        {"a sequence past the largest", "Sequence=1000000000000000000\r\nStartedUtc=2026-12-11T01:00:03Z\r\n"},
        {"a sequence past 64 bits",
         "Sequence=99999999999999999999999\r\nStartedUtc=2026-12-11T01:00:03Z\r\n"},
        {"no such date", "Sequence=17\r\nStartedUtc=2026-02-30T01:00:03Z\r\n"},
        {"a time without its zone", "Sequence=17\r\nStartedUtc=2026-12-11T01:00:03\r\n"},
        {"a time in another shape", "Sequence=17\r\nStartedUtc=2026-12-11T1:00:03Z\r\n"},
        {"a key in other letters", "sequence=17\r\nStartedUtc=2026-12-11T01:00:03Z\r\n"},
        {"a NUL byte inside", Text("Sequence=17\r\nStartedUtc=2026-12-11T01:00:03Z\0\r\n", 47)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ReadGenerationRecord(c.content).has_value());
    }
}

}  // namespace
