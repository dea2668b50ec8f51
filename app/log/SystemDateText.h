#pragma once
// The log's date text as the system gives it (DateTextShape.h is the platform-free half): a
// moment in Unix milliseconds, formatted by the system's script engine as its default date text in
// local time ("Wed Nov 15 06:13:20 UTC+0800 2023") and reassembled into year, month, day and time
// of day ("2023/11/15 06:13:20"). The engine is reached by late-bound automation, one script
// object per call.
//
// When the engine's object cannot be created, the same text is written from the local clock of
// that moment (DateTextShape.h) and reassembled in the same way. This is the rule on 64-bit Windows:
// the engine is registered there for 32-bit programs only, and this program is a 64-bit one.

#include <optional>

#include "app/log/portable/DateTextShape.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/Text.h"

// The script engine and the script that writes a date.
inline constexpr char kScriptClass[] = "MSScriptControl.ScriptControl";
inline constexpr char kScriptLanguageProperty[] = "Language";
inline constexpr char kScriptLanguage[] = "JScript";
inline constexpr char kScriptAddMethod[] = "AddCode";
// The code added is kScriptCodePrefix + the millisecond count + kScriptCodeSuffix: it defines the
// function that kScriptFunction calls.
inline constexpr char kScriptCodePrefix[] = "function EntryKeeperDateText() { return new Date(";
inline constexpr char kScriptCodeSuffix[] = ").toString(); }";
// The function is run by evaluating a call of it: Eval works alike on every version of the engine,
// while Run without arguments beyond the name is refused by some.
inline constexpr char kScriptRunMethod[] = "Eval";
inline constexpr char kScriptFunction[] = "EntryKeeperDateText()";

// The moment `millis` (decimal milliseconds since 1 January 1970 00:00:00 UTC, as given by
// CurrentEpochMillis) as year, month, day and local time of day: field 6 of the date text,
// kDateSep, field 2 with the month token replaced by its number, kDateSep, field 3,
// kDateFieldSep, field 4 (ReassembleDateText, DateTextShape.h). The date text is the engine's
// (ScriptEngineDateText) or, when the engine cannot be created, the local clock's
// (LocalClockDateText).
// Empty text when `millis` is empty or holds anything but digits (it becomes script code), when
// the engine gives nothing, when the clock cannot write the moment, or when the text is not of the
// engine's shape (the log line then has no time stamp rather than a wrong one).
// Initialises COM on the calling thread for the length of the call and creates, uses and releases
// its own script object there. Any thread; may take some milliseconds.
Text EpochMillisToDateText(const Text& millis);

// The engine's default date text of the moment `millis`, as it gives it ("Thu Jan 4 22:07:09
// UTC-0500 2024"); empty text when `millis` holds anything but digits (the engine is not asked
// then) or the engine gives nothing. nullopt exactly when the engine's object cannot be created.
// COM and threads as EpochMillisToDateText.
std::optional<Text> ScriptEngineDateText(const Text& millis);

// The moment `millis` as this machine's local clock shows it, in the shape of the engine's default
// date text (DateTextShape.h), with the time-zone rules the system holds for that moment. Empty text
// when `millis` holds anything but digits or names a moment the system cannot write as a date.
// Any thread.
Text LocalClockDateText(const Text& millis);

// Makes EpochMillisToDateText and ScriptEngineDateText create `classText` instead of kScriptClass;
// null restores kScriptClass. For tests that need the engine to be missing, as it is for a 64-bit
// program on 64-bit Windows, or to be something else. `classText` must stay alive while
// it is in use. Any thread.
void SetScriptClassForTesting(const char* classText);
