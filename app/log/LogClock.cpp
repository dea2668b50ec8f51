#include "app/log/LogClock.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace {

constexpr int kEpochMillisDigits = 13;

std::atomic<LogClockFn> g_clockOverride{nullptr};

SYSTEMTIME SystemClock() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return now;
}

// 100-nanosecond intervals since 1601 of a UTC date-time; 0 for a date-time that is not valid.
uint64_t FileTimeTicks(const SYSTEMTIME& time) {
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&time, &fileTime))
        return 0;
    return (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}

}  // namespace

Text CurrentEpochMillis() {
    LogClockFn clock = g_clockOverride.load();
    const SYSTEMTIME now = clock ? clock() : SystemClock();

    const uint64_t nowTicks = FileTimeTicks(now);
    const uint64_t baseTicks = FileTimeTicks(kEpochBase);
    const uint64_t secs = nowTicks > baseTicks ? (nowTicks - baseTicks) / 10000000 : 0;

    const unsigned millis = now.wMilliseconds % 1000;
    Text ms = std::to_string(millis);
    ms.insert(0, 3 - ms.size(), '0');

    Text r = std::to_string(secs) + ms;
    if (r.size() < kEpochMillisDigits)
        r.insert(0, kEpochMillisDigits - r.size(), '0');
    return r;
}

void SetLogClockForTesting(LogClockFn clock) {
    g_clockOverride.store(clock);
}
