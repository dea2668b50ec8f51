#pragma once
// The texts of the tool's entry listing, of entry creation and of the options command.

#include "common/portable/SharedTexts.h"

// The whole listing line. The tool answers with one line per entry, lines separated by
// kLineSep (the last one closed by it too), seven fields separated by kCoordSep:
//   kNumberMark number, name, kind, label, state, position, content size in bytes.
// No entries: empty output.
inline constexpr char kListCommand[] = "entryctl.exe list";
// Carried by the number field ("No.12"); read without regard to letter case.
inline constexpr char kNumberMark[] = "No.";

// CreateEntry: L entry t modeText (one form, no digit test). The answer on success is
// kCreateMarker, a space and the new entry's number, then kLineSep ("created entry 17").
inline constexpr char kCreateEntryLead[] = "entryctl.exe create --name \"";
inline constexpr char kCreateEntryText[] = "\" --mode \"";
inline constexpr char kCreateMarker[] = "created entry";
// Removed from the answer (letter case respected) before its number is read.
inline constexpr char kCreateStrip[] = "created entry ";
// The three creation modes (1, 2, 3; any other mode number means mode 2).
inline constexpr const char* kCreateModeText1 = kMonthNumberTexts[3];
inline constexpr const char* kCreateModeText2 = kMonthNumberTexts[4];
inline constexpr const char* kCreateModeText3 = kMonthNumberTexts[6];

// SendOptions: numeric form L entry A; name form L' entry PathMark A, where A is either the
// caller's raw text or kArgSep followed by (key value) for every given option.
// Each key closes the quote before it and opens one for its value; the line's end closes the
// last. In the numeric form the entry's quote is still open when A starts, so every value
// stands inside quotes; in the name form PathMark has closed it, so there the values stand
// OUTSIDE quotes (see the options command's notes in ToolVocabulary.h).
inline constexpr char kSendOptionsLeadNumber[] = "entryctl.exe options -n \"";
inline constexpr char kSendOptionsLeadName[] = "entryctl.exe options --name \"";
inline constexpr char kOptionKey1[] = "\" --color \"";
inline constexpr char kOptionKey2[] = "\" --size \"";
inline constexpr char kOptionKey3[] = "\" --font \"";
inline constexpr char kOptionKey4[] = "\" --width \"";
inline constexpr char kOptionKey5[] = "\" --height \"";
inline constexpr char kOptionKey6[] = "\" --left \"";
inline constexpr char kOptionKey7[] = "\" --top \"";
inline constexpr char kOptionKey8[] = "\" --title \"";
inline constexpr char kOptionKey9[] = "\" --style \"";
inline constexpr char kOptionKey10[] = "\" --order \"";
inline constexpr char kOptionKey11[] = "\" --group \"";
inline constexpr char kOptionKey12[] = "\" --note \"";
// kOptionKeys[k - 1] is kOptionKeyk.
inline constexpr const char* kOptionKeys[12] = {kOptionKey1, kOptionKey2, kOptionKey3,  kOptionKey4,
                                                kOptionKey5, kOptionKey6, kOptionKey7,  kOptionKey8,
                                                kOptionKey9, kOptionKey10, kOptionKey11, kOptionKey12};
