#include "app/log/SystemDateText.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "app/log/portable/DateTextShape.h"
#include "automation/AutomationAccess.h"
#include "automation/AutomationObject.h"
#include "automation/AutomationValue.h"
#include "common/ComOwners.h"

namespace {

// FILETIME counts 100-nanosecond steps from 1601; the Unix epoch is this many steps later.
constexpr uint64_t kUnixEpochTicks = 116444736000000000ULL;
constexpr uint64_t kTicksPerMilli = 10000;
constexpr int64_t kTicksPerMinute = 600000000;
// The last moment a FILETIME can hold (the system refuses larger ones), in Unix milliseconds.
constexpr uint64_t kLastClockMillis = (0x7FFFFFFFFFFFFFFFULL - kUnixEpochTicks) / kTicksPerMilli;

std::atomic<const char*> g_scriptClassOverride{nullptr};

bool IsDecimalDigits(const Text& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number as a script literal: without leading zeros, which the engine could read as octal.
Text AsScriptNumber(const Text& digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == Text::npos ? Text("0") : digits.substr(first);
}

uint64_t TicksOf(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// 0 for a date-time the system cannot convert.
uint64_t TicksOf(const SYSTEMTIME& time) {
    FILETIME fileTime;
    return SystemTimeToFileTime(&time, &fileTime) ? TicksOf(fileTime) : 0;
}

}  // namespace

std::optional<Text> ScriptEngineDateText(const Text& millis) {
    if (!IsDecimalDigits(millis))
        return Text();
    ScopedComInit com;
    const char* classOverride = g_scriptClassOverride.load();
    AutomationObject engine;
    if (!CreateObject(engine, classOverride ? classOverride : kScriptClass))
        return std::nullopt;
    SetProperty(engine, kScriptLanguageProperty, kScriptLanguage);
    CallMethod<double>(engine, kScriptAddMethod, kScriptCodePrefix + AsScriptNumber(millis) + kScriptCodeSuffix);
    VariantHolder result = CallMethod<VariantHolder>(engine, kScriptRunMethod, kScriptFunction);
    Text text = VariantToText(result);
    ClearVariant(result);
    // The object goes before COM does (declared after `com`, destroyed first).
    ReleaseObject(engine);
    return text;
}

Text LocalClockDateText(const Text& millis) {
    if (!IsDecimalDigits(millis))
        return Text();
    uint64_t count = 0;
    for (char digit : millis) {
        count = count * 10 + static_cast<uint64_t>(digit - '0');
        if (count > kLastClockMillis)
            return Text();
    }
    const uint64_t utcTicks = kUnixEpochTicks + count * kTicksPerMilli;
    FILETIME utcFileTime;
    utcFileTime.dwLowDateTime = static_cast<DWORD>(utcTicks);
    utcFileTime.dwHighDateTime = static_cast<DWORD>(utcTicks >> 32);
    SYSTEMTIME utc;
    if (!FileTimeToSystemTime(&utcFileTime, &utc))
        return Text();

    // The zone's rules for the moment's year, where the system keeps rules per year; otherwise
    // the rules in force now.
    DYNAMIC_TIME_ZONE_INFORMATION dynamicZone;
    TIME_ZONE_INFORMATION zone;
    const bool yearRules = GetDynamicTimeZoneInformation(&dynamicZone) != TIME_ZONE_ID_INVALID &&
                           GetTimeZoneInformationForYear(utc.wYear, &dynamicZone, &zone);
    SYSTEMTIME local;
    if (!SystemTimeToTzSpecificLocalTime(yearRules ? &zone : nullptr, &utc, &local))
        return Text();
    const uint64_t localTicks = TicksOf(local);
    if (localTicks == 0)
        return Text();
    // Both are whole milliseconds apart from the same moment, so the difference is whole minutes.
    const int64_t minutesEast =
        (static_cast<int64_t>(localTicks) - static_cast<int64_t>(TicksOf(utc))) / kTicksPerMinute;

    const LocalDateTime shown = {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
    return EngineShapedDateText(shown, static_cast<int32_t>(minutesEast));
}

Text EpochMillisToDateText(const Text& millis) {
    if (!IsDecimalDigits(millis))
        return Text();
    // The engine first, as on a system that has it for this program; only an engine that cannot
    // be created gives way to the clock, so an engine's unreadable answer still leaves the stamp
    // empty.
    const std::optional<Text> engineText = ScriptEngineDateText(millis);
    return ReassembleDateText(engineText ? *engineText : LocalClockDateText(millis));
}

void SetScriptClassForTesting(const char* classText) {
    g_scriptClassOverride.store(classText);
}
