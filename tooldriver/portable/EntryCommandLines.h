#pragma once
// The lines of the tool's entry commands (the operations of ToolCommands), as pieces for
// BuildCommandLine (toollink/portable/CommandLineQuoting.h): the tool's fixed texts as Fixed pieces, the
// entry and every text argument as Argument pieces, decimal numbers as Fixed pieces.
//
// The entry designator decides the form: IsAllDigits(entry) gives the numeric form, anything else
// (an empty entry too) the name form; the two forms spell the same command differently. The line
// shapes are given in toollink/portable/vocabulary/ToolVocabulary.h (P = entry prefix of the form, L = the
// command's own lead, t, u = its own texts, M = kPathMark, S = kArgSep).
//
// Platform-free (ToolCommands builds the lines under the active code page and runs them); any thread.

#include <array>
#include <cstdint>
#include <optional>

#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"
#include "toollink/portable/CommandLineQuoting.h"

// True when `entry` is not empty and every byte is a decimal digit '0' to '9'.
bool IsAllDigits(const Text& entry);

// The twelve optional settings of SendOptions: element k-1 goes with option key k.
using OptionValues = std::array<std::optional<Text>, 12>;

CommandLines Command02Lines(const Text& entry, const Text& a);       // P e t a M
CommandLines PointAtLines(const Text& entry, int32_t x, int32_t y);  // P e t n(x) S n(y) M
CommandLines Command07Lines(const Text& entry, const Text& a);       // P e t a u
// P e t n(a1) S n(a2) S n(a3) S n(a4) [S n(a5)] M: the fifth number only when given.
CommandLines Command08Lines(const Text& entry,
                            int32_t a1,
                            int32_t a2,
                            int32_t a3,
                            int32_t a4,
                            std::optional<int32_t> a5);
CommandLines Command09Lines(const Text& entry);                                // P e t n(164) M
CommandLines Command10Lines(const Text& entry);                                // as 09, number 4
CommandLines CaptureRowsLines(const Text& entry);                              // P e t
CommandLines QueryTextLines(const Text& entry, const Text& a);                 // P e t a M
CommandLines Command15Lines(const Text& entry);                                // as 09, number 3
CommandLines Command16Lines(const Text& entry, const Text& a, const Text& b);  // P e t a u b M
CommandLines Command17Lines(const Text& entry, const Text& a, const Text& b);  // two lines, t1 then t2
CommandLines Command18Lines(const Text& entry);                                // six lines P e t_k
CommandLines Command19Lines(const Text& entry);                                // L e t
CommandLines Command20Lines(const Text& entry, const Text& a, const Text& b);  // P e t a Mid9 b M
// Numeric form L e, name form L e M.
CommandLines Command21Lines(const Text& entry);
CommandLines Command22Lines(const Text& entry);
// L e t (mode text): one form only. Mode 1 and 3 choose the first and third mode texts, any other
// value the second.
CommandLines CreateEntryLines(const Text& entry, int32_t mode);
CommandLines Command25Lines(const Text& entry, const Text& a);  // L a t e M, one form only
CommandLines Command26Lines(const Text& entry);                 // as 21
CommandLines Command27Lines(const Text& entry, const Text& a);  // L e t a M
CommandLines Command28Lines(const Text& entry, const Text& a);  // L e t a
CommandLines Command29Lines(const Text& entry, const Text& a);
CommandLines Command30Lines(const Text& entry, const Text& a);
CommandLines Command31Lines(const Text& entry, const Text& a, const Text& b);  // L e t a u b
CommandLines Command32Lines(const Text& entry, const Text& a);                 // L e t a
CommandLines Command33Lines(const Text& entry);                                // as 21
CommandLines Command34Lines(const Text& entry, const Text& a);                 // L e t a M
CommandLines Command35Lines(const Text& entry, const Text& a, const Text& b);  // L e t a u b
CommandLines BackupEntryLines(const Text& entry, const Text& file);            // L e t file M
CommandLines RestoreEntryLines(const Text& entry, const Text& file);           // L e t file M
CommandLines Command38Lines(const Text& entry);                                // P e t
CommandLines Command39Lines(const Text& entry);
CommandLines Command40Lines(const Text& entry, const Text& a);  // P e t a M
CommandLines Command41Lines(const Text& entry, const Text& a);
CommandLines Command42Lines(const Text& entry, const Text& a, const Text& b);  // P e t a M ; P e t b M
CommandLines Command43Lines(const Text& entry, const Text& a);

// The options line and the argument part A it carries.
struct OptionsLine {
    Text line;
    Text part;
};

// SendOptions' line: numeric form L e A, name form L' e M A. With `raw` given, A is `raw`;
// otherwise kArgSep followed by key k and value k for every given option k, in key order (a value
// followed by another key has its trailing backslashes doubled). Nullopt when a text is refused
// under `leadBytes`: the entry and every value by IsSafeCommandArgument, `raw` (placed as it
// stands) by IsSafeVerbatimText; and in the name form, where A stands outside quotes, also `raw`
// and the values when they hold a percent sign or one of the command interpreter's operators
// & | < > ^ ( ), and a value when it is empty or holds a space or a tab (it would not reach the
// tool as one argument of its own).
std::optional<OptionsLine> BuildOptionsLine(const Text& entry,
                                            const std::optional<Text>& raw,
                                            const OptionValues& options,
                                            const LeadBytes& leadBytes);
