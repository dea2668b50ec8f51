#include "workers/portable/GenerationName.h"

#include <cstdio>
#include <cstring>

#include "common/portable/TextOps.h"

namespace {

constexpr size_t kTimeLength = 17;  // YYYY-MM-DD_HHMMSS
constexpr size_t kMaxNumberDigits = 9;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of `count` digits at `pos`, or -1 when one of them is no digit.
int32_t DigitsAt(const Text& text, size_t pos, size_t count) {
    int32_t value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (!IsDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool EndsWithIgnoreCase(const Text& text, size_t end, const char* suffix) {
    const size_t length = std::strlen(suffix);
    return end >= length && EqualsIgnoreCase(text.substr(end - length, length), suffix);
}

std::optional<CalendarTime> ReadTime(const Text& text) {
    if (text.size() < kTimeLength || text[4] != '-' || text[7] != '-' || text[10] != '_')
        return std::nullopt;
    const CalendarTime time{DigitsAt(text, 0, 4),  DigitsAt(text, 5, 2),  DigitsAt(text, 8, 2),
                            DigitsAt(text, 11, 2), DigitsAt(text, 13, 2), DigitsAt(text, 15, 2)};
    if (!IsValidCalendarTime(time))
        return std::nullopt;
    return time;
}

// The name without its pin, as it was written before a user pinned it.
Text Unpinned(const Text& name) {
    if (!EndsWithIgnoreCase(name, name.size(), kPinSuffix))
        return name;
    const Text bare = name.substr(0, name.size() - std::strlen(kPinSuffix));
    return ReadGenerationName(bare) ? bare : name;
}

}  // namespace

Text GenerationFolderName(const CalendarTime& localStart, int number, GenerationKind kind) {
    if (!IsValidCalendarTime(localStart) || number < 1)
        return Text();
    char time[32];
    std::snprintf(time, sizeof time, "%04d-%02d-%02d_%02d%02d%02d", static_cast<int>(localStart.year),
                  static_cast<int>(localStart.month), static_cast<int>(localStart.day),
                  static_cast<int>(localStart.hour), static_cast<int>(localStart.minute),
                  static_cast<int>(localStart.second));
    Text name = time;
    if (number > 1)
        name += kGenerationNumberMark + IntToText(number);
    if (kind == GenerationKind::BeforeRestore)
        name += kBeforeRestoreSuffix;
    return name;
}

Text FreeGenerationName(const CalendarTime& localStart, GenerationKind kind, const TextArray& taken) {
    TextArray unpinned;
    unpinned.reserve(taken.size());
    for (const Text& name : taken)
        unpinned.push_back(Unpinned(name));
    for (int number = 1;; ++number) {
        const Text name = GenerationFolderName(localStart, number, kind);
        if (name.empty())
            return name;
        bool isTaken = false;
        for (const Text& other : unpinned)
            isTaken = isTaken || EqualsIgnoreCase(other, name);
        if (!isTaken)
            return name;
    }
}

std::optional<GenerationName> ReadGenerationName(const Text& folderName) {
    GenerationName read;
    const std::optional<CalendarTime> time = ReadTime(folderName);
    if (!time)
        return std::nullopt;
    read.localStart = *time;
    size_t end = folderName.size();
    if (EndsWithIgnoreCase(folderName, end, kPinSuffix)) {
        read.pinned = true;
        end -= std::strlen(kPinSuffix);
    }
    if (end >= kTimeLength + std::strlen(kBeforeRestoreSuffix) &&
        EndsWithIgnoreCase(folderName, end, kBeforeRestoreSuffix)) {
        read.kind = GenerationKind::BeforeRestore;
        end -= std::strlen(kBeforeRestoreSuffix);
    }
    if (end == kTimeLength)
        return read;
    // What is left after the time can only be the number.
    const size_t digits = end - kTimeLength - 1;
    if (end < kTimeLength + 2 || folderName.compare(kTimeLength, 1, kGenerationNumberMark) != 0 ||
        digits > kMaxNumberDigits || folderName[kTimeLength + 1] == '0')
        return std::nullopt;
    read.number = DigitsAt(folderName, kTimeLength + 1, digits);
    if (read.number < 2)
        return std::nullopt;
    return read;
}
