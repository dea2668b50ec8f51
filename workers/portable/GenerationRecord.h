#pragma once
// The file in each generation folder that records when its pass started (UTC) and its sequence
// number, one higher than any generation's before it. The sequence number alone orders generations
// (newest, oldest), so daylight-saving changes and clocks set back never reorder them. Two lines:
//
//   Sequence=17
//   StartedUtc=2026-12-11T01:00:03Z
//
// each ended by a carriage return and a line feed, in that order, nothing else.
//
// Platform-free; any thread.

#include <cstdint>
#include <optional>

#include "common/portable/Text.h"
#include "workers/portable/CalendarTime.h"

inline constexpr char kGenerationRecordFileName[] = "EntryKeeper-generation.txt";

// Sequence numbers run from 1 to this (so that one more still fits in 64 bits, signed or not).
inline constexpr uint64_t kMaxGenerationSequence = 999'999'999'999'999'999ull;

struct GenerationRecord {
    uint64_t sequence = 0;
    CalendarTime startedUtc;
    friend bool operator==(const GenerationRecord&, const GenerationRecord&) = default;
};

// The file's text. Empty text when the record cannot be read back as it is: a sequence number
// outside 1 to kMaxGenerationSequence, or an invalid time.
Text GenerationRecordText(const GenerationRecord& record);

// The record a file's text holds; nothing unless the text is exactly what GenerationRecordText
// writes for some record (a cut-off, padded or altered file is no record, never part of one).
std::optional<GenerationRecord> ReadGenerationRecord(const Text& content);
