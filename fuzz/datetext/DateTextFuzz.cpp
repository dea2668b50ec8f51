// The log's date text, reassembled from whatever the script engine gives back:
//  - a text that is not of the engine's shape gives the empty date text (the log line then has no
//    time stamp), never a wrong one;
//  - a text of the engine's shape gives exactly its year, month number, day and time of day.
// The shape is read here apart from the code under test: six fields separated by single spaces,
// a weekday, a month, a day of that month, hh:mm:ss, the zone (UTC, or UTC and a signed four-digit
// offset below a day), and the year; the weekday must be the one of that date.
// The input is also read as a date-time and an offset, written in the engine's shape and read back.

#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/log/portable/DateTextShape.h"
#include "fuzz/FuzzCheck.h"

namespace {

const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int IndexOf(const char* const* tokens, int count, const std::string& field) {
    for (int i = 0; i < count; ++i) {
        if (field == tokens[i])
            return i;
    }
    return -1;
}

// Decimal digits without a leading zero (a lone "0" allowed when `zero`), at most `maxDigits`.
std::optional<int64_t> Number(const std::string& s, size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits || (s.size() > 1 && s[0] == '0'))
        return std::nullopt;
    int64_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

bool TwoDigits(const std::string& s, size_t at, int max, int* out) {
    if (s[at] < '0' || s[at] > '9' || s[at + 1] < '0' || s[at + 1] > '9')
        return false;
    *out = (s[at] - '0') * 10 + (s[at + 1] - '0');
    return *out <= max;
}

// The log's date text the engine's text `text` stands for, or nothing when it is not of that shape.
std::optional<std::string> Expected(const std::string& text) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t at; (at = text.find(' ', start)) != std::string::npos; start = at + 1)
        fields.push_back(text.substr(start, at - start));
    fields.push_back(text.substr(start));
    if (fields.size() != 6)
        return std::nullopt;
    const int weekday = IndexOf(kWeekdays, 7, fields[0]);
    const int month = IndexOf(kMonths, 12, fields[1]);
    const std::optional<int64_t> day = Number(fields[2], 2);
    const std::optional<int64_t> year = Number(fields[5], 9);
    if (weekday < 0 || month < 0 || !day || !year || *day < 1 || *year < 1)
        return std::nullopt;
    // The calendar repeats every 400 years, weekdays included (146097 days are whole weeks), so the
    // date is checked on the year of the same place in the cycle that the C++ calendar can hold.
    const std::chrono::year_month_day date{std::chrono::year(static_cast<int>((*year - 1) % 400 + 2001)),
                                           std::chrono::month(static_cast<unsigned>(month + 1)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok() || std::chrono::weekday(std::chrono::sys_days(date)).c_encoding() != static_cast<unsigned>(weekday))
        return std::nullopt;
    const std::string& time = fields[3];
    int h, m, s;
    if (time.size() != 8 || time[2] != ':' || time[5] != ':' || !TwoDigits(time, 0, 23, &h) ||
        !TwoDigits(time, 3, 59, &m) || !TwoDigits(time, 6, 59, &s))
        return std::nullopt;
    const std::string& zone = fields[4];
    if (zone != "UTC") {
        int zh, zm;
        if (zone.size() != 8 || zone.compare(0, 3, "UTC") != 0 || (zone[3] != '+' && zone[3] != '-') ||
            !TwoDigits(zone, 4, 23, &zh) || !TwoDigits(zone, 6, 59, &zm) || zh * 60 + zm == 0)
            return std::nullopt;
    }
    return fields[5] + "/" + std::to_string(month + 1) + "/" + fields[2] + " " + time;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Text reassembled = ReassembleDateText(text);
    const std::optional<std::string> expected = Expected(text);
    FUZZ_CHECK(reassembled == expected.value_or(""),
               ShowBytes(text) + " gives " + ShowBytes(reassembled) + ", expected " + ShowBytes(expected.value_or("")));

    // The same bytes as a date-time: written in the engine's shape, read back whole.
    FuzzedDataProvider input(data, size);
    LocalDateTime local;
    local.year = input.ConsumeIntegralInRange(-2, 40000);
    local.month = input.ConsumeIntegralInRange(-1, 14);
    local.day = input.ConsumeIntegralInRange(-1, 32);
    local.hour = input.ConsumeIntegralInRange(-1, 25);
    local.minute = input.ConsumeIntegralInRange(-1, 61);
    local.second = input.ConsumeIntegralInRange(-1, 61);
    const int32_t minutesEast = input.ConsumeIntegralInRange(-1500, 1500);
    const Text written = EngineShapedDateText(local, minutesEast);
    if (written.empty())
        return 0;
    char want[64];
    std::snprintf(want, sizeof want, "%d/%d/%d %02d:%02d:%02d", local.year, local.month, local.day, local.hour,
                  local.minute, local.second);
    FUZZ_CHECK(ReassembleDateText(written) == want,
               ShowBytes(written) + " gives " + ShowBytes(ReassembleDateText(written)));
    FUZZ_CHECK(Expected(written) == std::optional<std::string>(want), ShowBytes(written) + " is not of the shape");
    return 0;
}
