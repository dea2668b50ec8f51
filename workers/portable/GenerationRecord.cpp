#include "workers/portable/GenerationRecord.h"

#include <cstdio>

#include "common/portable/SharedTexts.h"

namespace {

constexpr char kSequenceKey[] = "Sequence=";
constexpr char kStartedKey[] = "StartedUtc=";
constexpr size_t kMaxSequenceDigits = 18;

Text TimeText(const CalendarTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", static_cast<int>(t.year),
                  static_cast<int>(t.month), static_cast<int>(t.day), static_cast<int>(t.hour),
                  static_cast<int>(t.minute), static_cast<int>(t.second));
    return text;
}

}  // namespace

Text GenerationRecordText(const GenerationRecord& record) {
    if (record.sequence < 1 || record.sequence > kMaxGenerationSequence || !IsValidCalendarTime(record.startedUtc))
        return Text();
    return kSequenceKey + std::to_string(record.sequence) + kLineSep + kStartedKey + TimeText(record.startedUtc) +
           kLineSep;
}

std::optional<GenerationRecord> ReadGenerationRecord(const Text& content) {
    // Read the two values loosely, then demand that writing them back gives the very same bytes:
    // every way the file can differ from a written one is then refused by one comparison.
    const Text sequenceLead = kSequenceKey;
    if (content.compare(0, sequenceLead.size(), sequenceLead) != 0)
        return std::nullopt;
    GenerationRecord record;
    size_t pos = sequenceLead.size();
    for (size_t digits = 0; pos < content.size() && content[pos] >= '0' && content[pos] <= '9'; ++pos, ++digits) {
        if (digits == kMaxSequenceDigits)
            return std::nullopt;
        record.sequence = record.sequence * 10 + static_cast<uint64_t>(content[pos] - '0');
    }
    const size_t timeStart = content.find(kStartedKey, pos);
    if (timeStart == Text::npos)
        return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(content.c_str() + timeStart + sizeof kStartedKey - 1, "%4d-%2d-%2dT%2d:%2d:%2d", &year, &month,
                    &day, &hour, &minute, &second) != 6)
        return std::nullopt;
    record.startedUtc = CalendarTime{year, month, day, hour, minute, second};
    const Text written = GenerationRecordText(record);
    if (written.empty() || written != content)
        return std::nullopt;
    return record;
}
