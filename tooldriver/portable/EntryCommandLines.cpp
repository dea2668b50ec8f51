#include "tooldriver/portable/EntryCommandLines.h"

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "toollink/portable/CommandLineSafety.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

LinePiece AsPiece(LinePiece piece) {
    return piece;
}
LinePiece AsPiece(const char* fixed) {
    return FixedText(fixed);
}
LinePiece AsPiece(const Text& fixed) {
    return FixedText(fixed);
}

// The pieces of one line in order: fixed texts as they are, arguments wrapped in Argument().
template <typename... Pieces>
LinePieces Line(const Pieces&... pieces) {
    return {AsPiece(pieces)...};
}

// The text of the chosen form.
const char* Pick(bool numeric, const char* number, const char* name) {
    return numeric ? number : name;
}

// P: the entry prefix of the chosen form.
const char* Prefix(bool numeric) {
    return Pick(numeric, kEntryPrefixNumber, kEntryPrefixName);
}

// P e t a M, the most common shape.
CommandLines PrefixedWithText(const Text& entry, const char* textNumber, const char* textName, const Text& a) {
    const bool n = IsAllDigits(entry);
    return {Line(Prefix(n), Argument(entry), Pick(n, textNumber, textName), Argument(a), kPathMark)};
}

// L e t a, with M after it when `closed`.
CommandLines LeadWithText(const Text& entry,
                          const char* leadNumber,
                          const char* leadName,
                          const char* textNumber,
                          const char* textName,
                          const Text& a,
                          bool closed) {
    const bool n = IsAllDigits(entry);
    LinePieces line = Line(Pick(n, leadNumber, leadName), Argument(entry), Pick(n, textNumber, textName), Argument(a));
    if (closed)
        line.push_back(FixedText(kPathMark));
    return {line};
}

// L e t a u b.
CommandLines LeadWithTwoTexts(const Text& entry,
                              const char* leadNumber,
                              const char* leadName,
                              const char* textNumber,
                              const char* textName,
                              const Text& a,
                              const char* mid,
                              const Text& b) {
    const bool n = IsAllDigits(entry);
    return {Line(Pick(n, leadNumber, leadName), Argument(entry), Pick(n, textNumber, textName), Argument(a), mid,
                 Argument(b))};
}

// The shape shared by Command09, 10 and 15.
CommandLines SignalLines(const Text& entry, int code) {
    const bool n = IsAllDigits(entry);
    return {Line(Prefix(n), Argument(entry), Pick(n, kCommand09TextNumber, kCommand09TextName), IntToText(code),
                 kPathMark)};
}

// The shape shared by Command21, 22, 26 and 33.
CommandLines ErrorRuleLines(const Text& entry, const char* leadNumber, const char* leadName) {
    return {IsAllDigits(entry) ? Line(leadNumber, Argument(entry)) : Line(leadName, Argument(entry), kPathMark)};
}

// P e t.
CommandLines PrefixedBare(const Text& entry, const char* textNumber, const char* textName) {
    const bool n = IsAllDigits(entry);
    return {Line(Prefix(n), Argument(entry), Pick(n, textNumber, textName))};
}

bool HoldsOperator(const Text& text) {
    return text.find_first_of("&|<>^()") != Text::npos;
}

// A raw part reaches the command interpreter as it stands, outside any quotes, so besides the
// rule for text placed as it stands it must not hold the interpreter's operators.
bool IsSafeUnquoted(const Text& text, const LeadBytes& leadBytes) {
    return IsSafeVerbatimText(text, leadBytes) && !HoldsOperator(text);
}

// An option value outside quotes must also arrive as one argument of its own: a space or tab would
// split it, and an empty value would leave two quotes side by side, which the C runtime reads as
// one literal quote inside the quoted key around it. (Percent signs are placed for text inside
// quotes, so it may hold none.)
bool IsSafeUnquotedValue(const Text& text, const LeadBytes& leadBytes) {
    return !text.empty() && IsSafeUnquoted(text, leadBytes) && text.find_first_of(" \t") == Text::npos;
}

}  // namespace

bool IsAllDigits(const Text& entry) {
    if (entry.empty())
        return false;
    for (char c : entry) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

CommandLines Command02Lines(const Text& entry, const Text& a) {
    return PrefixedWithText(entry, kCommand02TextNumber, kCommand02TextName, a);
}

CommandLines PointAtLines(const Text& entry, int32_t x, int32_t y) {
    const bool n = IsAllDigits(entry);
    return {Line(Prefix(n), Argument(entry), Pick(n, kPointAtTextNumber, kPointAtTextName), IntToText(x), kArgSep,
                 IntToText(y), kPathMark)};
}

CommandLines Command07Lines(const Text& entry, const Text& a) {
    const bool n = IsAllDigits(entry);
    return {Line(Prefix(n), Argument(entry), Pick(n, kCommand07TextNumber, kCommand07TextName), Argument(a),
                 kCommand07Tail)};
}

CommandLines Command08Lines(const Text& entry,
                            int32_t a1,
                            int32_t a2,
                            int32_t a3,
                            int32_t a4,
                            std::optional<int32_t> a5) {
    const bool n = IsAllDigits(entry);
    const Text fifth = a5 ? kArgSep + IntToText(*a5) : Text();
    return {Line(Prefix(n), Argument(entry), Pick(n, kCommand08TextNumber, kCommand08TextName), IntToText(a1), kArgSep,
                 IntToText(a2), kArgSep, IntToText(a3), kArgSep, IntToText(a4), fifth, kPathMark)};
}

CommandLines Command09Lines(const Text& entry) {
    return SignalLines(entry, kCommand09Code);
}

CommandLines Command10Lines(const Text& entry) {
    return SignalLines(entry, kCommand10Code);
}

CommandLines CaptureRowsLines(const Text& entry) {
    return PrefixedBare(entry, kCaptureRowsTextNumber, kCaptureRowsTextName);
}

CommandLines QueryTextLines(const Text& entry, const Text& a) {
    return PrefixedWithText(entry, kQueryTextTextNumber, kQueryTextTextName, a);
}

CommandLines Command15Lines(const Text& entry) {
    return SignalLines(entry, kCommand15Code);
}

CommandLines Command16Lines(const Text& entry, const Text& a, const Text& b) {
    const bool n = IsAllDigits(entry);
    return {Line(Prefix(n), Argument(entry), Pick(n, kCommand16TextNumber, kCommand16TextName), Argument(a),
                 kCommand16Mid, Argument(b), kPathMark)};
}

CommandLines Command17Lines(const Text& entry, const Text& a, const Text& b) {
    const bool n = IsAllDigits(entry);
    return {
        Line(Prefix(n), Argument(entry), Pick(n, kCommand17Text1Number, kCommand17Text1Name), Argument(a),
             kCommand17Mid, Argument(b), kPathMark),
        Line(Prefix(n), Argument(entry), Pick(n, kCommand17Text2Number, kCommand17Text2Name), Argument(a),
             kCommand17Mid, Argument(b), kPathMark),
    };
}

CommandLines Command18Lines(const Text& entry) {
    const bool n = IsAllDigits(entry);
    CommandLines lines;
    for (int k = 0; k < 6; ++k)
        lines.push_back(Line(Prefix(n), Argument(entry), Pick(n, kCommand18TextsNumber[k], kCommand18TextsName[k])));
    return lines;
}

CommandLines Command19Lines(const Text& entry) {
    const bool n = IsAllDigits(entry);
    return {Line(Pick(n, kCommand19LeadNumber, kCommand19LeadName), Argument(entry),
                 Pick(n, kCommand19TextNumber, kCommand19TextName))};
}

CommandLines Command20Lines(const Text& entry, const Text& a, const Text& b) {
    const bool n = IsAllDigits(entry);
    return {Line(Prefix(n), Argument(entry), Pick(n, kCommand20TextNumber, kCommand20TextName), Argument(a), kMid9,
                 Argument(b), kPathMark)};
}

CommandLines Command21Lines(const Text& entry) {
    return ErrorRuleLines(entry, kCommand21LeadNumber, kCommand21LeadName);
}

CommandLines Command22Lines(const Text& entry) {
    return ErrorRuleLines(entry, kCommand22LeadNumber, kCommand22LeadName);
}

CommandLines CreateEntryLines(const Text& entry, int32_t mode) {
    const char* modeText = mode == 1 ? kCreateModeText1 : mode == 3 ? kCreateModeText3 : kCreateModeText2;
    return {Line(kCreateEntryLead, Argument(entry), kCreateEntryText, modeText)};
}

CommandLines Command25Lines(const Text& entry, const Text& a) {
    // One form only: the same line shape serves numbers and names.
    return {Line(kCommand25Lead, Argument(a), kCommand25Text, Argument(entry), kPathMark)};
}

CommandLines Command26Lines(const Text& entry) {
    return ErrorRuleLines(entry, kCommand26LeadNumber, kCommand26LeadName);
}

CommandLines Command27Lines(const Text& entry, const Text& a) {
    return LeadWithText(entry, kCommand27LeadNumber, kCommand27LeadName, kCommand27TextNumber, kCommand27TextName, a,
                        true);
}

CommandLines Command28Lines(const Text& entry, const Text& a) {
    return LeadWithText(entry, kCommand28LeadNumber, kCommand28LeadName, kCommand28TextNumber, kCommand28TextName, a,
                        false);
}

CommandLines Command29Lines(const Text& entry, const Text& a) {
    return LeadWithText(entry, kCommand29LeadNumber, kCommand29LeadName, kCommand29TextNumber, kCommand29TextName, a,
                        false);
}

CommandLines Command30Lines(const Text& entry, const Text& a) {
    return LeadWithText(entry, kCommand30LeadNumber, kCommand30LeadName, kCommand30TextNumber, kCommand30TextName, a,
                        false);
}

CommandLines Command31Lines(const Text& entry, const Text& a, const Text& b) {
    return LeadWithTwoTexts(entry, kCommand31LeadNumber, kCommand31LeadName, kCommand31TextNumber, kCommand31TextName,
                            a, kCommand31Mid, b);
}

CommandLines Command32Lines(const Text& entry, const Text& a) {
    return LeadWithText(entry, kCommand32LeadNumber, kCommand32LeadName, kCommand32TextNumber, kCommand32TextName, a,
                        false);
}

CommandLines Command33Lines(const Text& entry) {
    return ErrorRuleLines(entry, kCommand33LeadNumber, kCommand33LeadName);
}

CommandLines Command34Lines(const Text& entry, const Text& a) {
    return LeadWithText(entry, kCommand34LeadNumber, kCommand34LeadName, kCommand34TextNumber, kCommand34TextName, a,
                        true);
}

CommandLines Command35Lines(const Text& entry, const Text& a, const Text& b) {
    return LeadWithTwoTexts(entry, kCommand35LeadNumber, kCommand35LeadName, kCommand35TextNumber, kCommand35TextName,
                            a, kCommand35Mid, b);
}

CommandLines BackupEntryLines(const Text& entry, const Text& file) {
    return LeadWithText(entry, kBackupEntryLeadNumber, kBackupEntryLeadName, kBackupEntryTextNumber,
                        kBackupEntryTextName, file, true);
}

CommandLines RestoreEntryLines(const Text& entry, const Text& file) {
    return LeadWithText(entry, kRestoreEntryLeadNumber, kRestoreEntryLeadName, kRestoreEntryTextNumber,
                        kRestoreEntryTextName, file, true);
}

CommandLines Command38Lines(const Text& entry) {
    return PrefixedBare(entry, kCommand38TextNumber, kCommand38TextName);
}

CommandLines Command39Lines(const Text& entry) {
    return PrefixedBare(entry, kCommand39TextNumber, kCommand39TextName);
}

CommandLines Command40Lines(const Text& entry, const Text& a) {
    return PrefixedWithText(entry, kCommand40TextNumber, kCommand40TextName, a);
}

CommandLines Command41Lines(const Text& entry, const Text& a) {
    return PrefixedWithText(entry, kCommand41TextNumber, kCommand41TextName, a);
}

CommandLines Command42Lines(const Text& entry, const Text& a, const Text& b) {
    const bool n = IsAllDigits(entry);
    const char* t = Pick(n, kCommand42TextNumber, kCommand42TextName);
    return {Line(Prefix(n), Argument(entry), t, Argument(a), kPathMark),
            Line(Prefix(n), Argument(entry), t, Argument(b), kPathMark)};
}

CommandLines Command43Lines(const Text& entry, const Text& a) {
    return PrefixedWithText(entry, kCommand43TextNumber, kCommand43TextName, a);
}

std::optional<OptionsLine> BuildOptionsLine(const Text& entry,
                                            const std::optional<Text>& raw,
                                            const OptionValues& options,
                                            const LeadBytes& leadBytes) {
    const bool numeric = IsAllDigits(entry);
    // In the numeric form the entry's quote is still open when the argument part starts, so the
    // part stands inside quotes; in the name form the path mark has closed it, so a raw part and
    // the option values stand outside them.
    LinePieces part;
    if (raw) {
        if (!(numeric ? IsSafeVerbatimText(*raw, leadBytes) : IsSafeUnquoted(*raw, leadBytes)))
            return std::nullopt;
        part.push_back(FixedText(*raw));
    } else {
        part.push_back(FixedText(kArgSep));
        for (size_t k = 0; k < options.size(); ++k) {
            if (!options[k])
                continue;
            if (!numeric && !IsSafeUnquotedValue(*options[k], leadBytes))
                return std::nullopt;
            part.push_back(FixedText(kOptionKeys[k]));
            part.push_back(Argument(*options[k]));
        }
    }
    const std::optional<Text> partText = BuildCommandLine(part, leadBytes);
    if (!partText)
        return std::nullopt;
    const std::optional<Text> line =
        BuildCommandLine(numeric ? Line(kSendOptionsLeadNumber, Argument(entry), *partText)
                                 : Line(kSendOptionsLeadName, Argument(entry), kPathMark, *partText),
                         leadBytes);
    if (!line)
        return std::nullopt;
    return OptionsLine{*line, *partText};
}
