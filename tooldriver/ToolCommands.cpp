#include "tooldriver/ToolCommands.h"

#include <utility>

#include "common/ActiveLeadBytes.h"
#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "tooldriver/EntryListing.h"
#include "tooldriver/ToolCommandsRunner.h"
#include "toollink/CommandLineSafety.h"
#include "toollink/vocabulary/ToolVocabulary.h"

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
std::vector<LinePiece> Line(const Pieces&... pieces) {
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

// Text placed outside any quotes reaches the command interpreter as it stands, so besides the
// rule for quoted arguments it must not hold the interpreter's operators.
bool IsSafeUnquoted(const Text& text) {
    return IsSafeCommandArgument(text) && text.find_first_of("&|<>^()") == Text::npos;
}

// An option value outside quotes must also arrive as one argument of its own: a space or tab would
// split it, and an empty value would leave two quotes side by side, which the C runtime reads as
// one literal quote inside the quoted key around it.
bool IsSafeUnquotedValue(const Text& text) {
    return !text.empty() && IsSafeUnquoted(text) && text.find_first_of(" \t") == Text::npos;
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

ToolCommands::ToolCommands(CommandRunnerFn runner)
    : runner_(RunningInToolDir(std::move(runner))), link_(runner_) {
    link_.Locate();
}

ToolCommands::~ToolCommands() = default;

ToolCommands::ToolCommands(const ToolCommands& other) : runner_(other.runner_), link_(other.link_) {}

std::optional<Text> ToolCommands::Issue(const Text& entry, const LineBuilder& build) const {
    // Every line is built before the first runs: one refused argument refuses them all.
    TextArray lines;
    for (const std::vector<LinePiece>& pieces : build(IsAllDigits(entry))) {
        std::optional<Text> line = BuildCommandLine(pieces, ActiveLeadBytes());
        if (!line)
            return std::nullopt;
        lines.push_back(std::move(*line));
    }
    return RunLines(lines);
}

Text ToolCommands::RunLines(const TextArray& lines) const {
    // Every line runs, in order, whatever an earlier one printed.
    Text output;
    for (const Text& line : lines)
        output = runner_(line, nullptr, false);
    return output;
}

bool ToolCommands::HasMarker(const std::optional<Text>& output, const Text& marker) const {
    return output && link_.Contains(*output, marker);
}

bool ToolCommands::ByErrorRule(const Text& entry, const std::optional<Text>& output) const {
    if (!output)
        return false;
    if (IsAllDigits(entry))
        return true;
    // A tool that never started prints nothing; a tool that did always answers something.
    return !output->empty() && !link_.Contains(*output, kErrorMarker);
}

bool ToolCommands::Command02(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand02TextNumber, kCommand02TextName),
                                       Argument(a), kPathMark)};
                 })
        .has_value();
}

Text ToolCommands::SendOptions(const Text& entry, const std::optional<Text>& raw, const OptionValues& options) const {
    const bool numeric = IsAllDigits(entry);
    // In the numeric form the entry's quote is still open when the argument part starts, so the
    // part stands inside quotes; in the name form the path mark has closed it, so a raw part and
    // the option values stand outside them.
    std::vector<LinePiece> part;
    if (raw) {
        if (!(numeric ? IsSafeCommandArgument(*raw) : IsSafeUnquoted(*raw)))
            return Text();
        part.push_back(FixedText(*raw));
    } else {
        part.push_back(FixedText(kArgSep));
        for (size_t k = 0; k < options.size(); ++k) {
            if (!options[k])
                continue;
            if (!numeric && !IsSafeUnquotedValue(*options[k]))
                return Text();
            part.push_back(FixedText(kOptionKeys[k]));
            part.push_back(Argument(*options[k]));
        }
    }
    const std::optional<Text> partText = BuildCommandLine(part, ActiveLeadBytes());
    const std::optional<Text> line =
        partText ? BuildCommandLine(numeric ? Line(kSendOptionsLeadNumber, Argument(entry), *partText)
                                            : Line(kSendOptionsLeadName, Argument(entry), kPathMark, *partText),
                                    ActiveLeadBytes())
                 : std::nullopt;
    if (!line)
        return Text();
    RunLines({*line});
    return *partText;
}

bool ToolCommands::PointAt(const Text& entry, int32_t x, int32_t y) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kPointAtTextNumber, kPointAtTextName),
                                       IntToText(x), kArgSep, IntToText(y), kPathMark)};
                 })
        .has_value();
}

bool ToolCommands::Command07(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand07TextNumber, kCommand07TextName),
                                       Argument(a), kCommand07Tail)};
                 })
        .has_value();
}

bool ToolCommands::Command08(const Text& entry, int32_t a1, int32_t a2, int32_t a3, int32_t a4,
                             std::optional<int32_t> a5) const {
    return Issue(entry,
                 [&](bool n) {
                     const Text fifth = a5 ? kArgSep + IntToText(*a5) : Text();
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand08TextNumber, kCommand08TextName),
                                       IntToText(a1), kArgSep, IntToText(a2), kArgSep, IntToText(a3), kArgSep,
                                       IntToText(a4), fifth, kPathMark)};
                 })
        .has_value();
}

bool ToolCommands::SendSignal(const Text& entry, int code) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand09TextNumber, kCommand09TextName),
                                       IntToText(code), kPathMark)};
                 })
        .has_value();
}

bool ToolCommands::Command09(const Text& entry) const {
    return SendSignal(entry, kCommand09Code);
}

bool ToolCommands::Command10(const Text& entry) const {
    return SendSignal(entry, kCommand10Code);
}

Text ToolCommands::QueryText(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kQueryTextTextNumber, kQueryTextTextName),
                                       Argument(a), kPathMark)};
                 })
        .value_or(Text());
}

bool ToolCommands::Command15(const Text& entry) const {
    return SendSignal(entry, kCommand15Code);
}

bool ToolCommands::Command16(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand16TextNumber, kCommand16TextName),
                                       Argument(a), kCommand16Mid, Argument(b), kPathMark)};
                 })
        .has_value();
}

bool ToolCommands::Command17(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{
                         Line(Prefix(n), Argument(entry), Pick(n, kCommand17Text1Number, kCommand17Text1Name),
                              Argument(a), kCommand17Mid, Argument(b), kPathMark),
                         Line(Prefix(n), Argument(entry), Pick(n, kCommand17Text2Number, kCommand17Text2Name),
                              Argument(a), kCommand17Mid, Argument(b), kPathMark),
                     };
                 })
        .has_value();
}

bool ToolCommands::Command18(const Text& entry) const {
    return Issue(entry,
                 [&](bool n) {
                     Lines lines;
                     for (int k = 0; k < 6; ++k)
                         lines.push_back(Line(Prefix(n), Argument(entry),
                                              Pick(n, kCommand18TextsNumber[k], kCommand18TextsName[k])));
                     return lines;
                 })
        .has_value();
}

bool ToolCommands::Command19(const Text& entry) const {
    return HasMarker(Issue(entry,
                           [&](bool n) {
                               return Lines{Line(Pick(n, kCommand19LeadNumber, kCommand19LeadName), Argument(entry),
                                                 Pick(n, kCommand19TextNumber, kCommand19TextName))};
                           }),
                     kCommand19Marker);
}

bool ToolCommands::Command20(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand20TextNumber, kCommand20TextName),
                                       Argument(a), kMid9, Argument(b), kPathMark)};
                 })
        .has_value();
}

bool ToolCommands::ErrorRuleCommand(const Text& entry, const char* leadNumber, const char* leadName) const {
    return ByErrorRule(
        entry, Issue(entry, [&](bool n) {
            return Lines{n ? Line(leadNumber, Argument(entry)) : Line(leadName, Argument(entry), kPathMark)};
        }));
}

bool ToolCommands::Command21(const Text& entry) const {
    return ErrorRuleCommand(entry, kCommand21LeadNumber, kCommand21LeadName);
}

bool ToolCommands::Command22(const Text& entry) const {
    return ErrorRuleCommand(entry, kCommand22LeadNumber, kCommand22LeadName);
}

bool ToolCommands::Command23() const {
    RunLines({kCommand23Line});
    return true;
}

int32_t ToolCommands::CreateEntry(const Text& entry, int32_t mode) const {
    const char* modeText = mode == 1 ? kCreateModeText1 : mode == 3 ? kCreateModeText3 : kCreateModeText2;
    const std::optional<Text> line =
        BuildCommandLine(Line(kCreateEntryLead, Argument(entry), kCreateEntryText, modeText), ActiveLeadBytes());
    if (!line)
        return -1;
    const Text output = RunLines({*line});
    if (!link_.Contains(output, kCreateMarker))
        return -1;
    return TextToInt(ReplaceText(TrimText(output), kCreateStrip, ""));
}

bool ToolCommands::Command25(const Text& entry, const Text& a) const {
    // One form only: the same line shape serves numbers and names.
    return HasMarker(
        Issue(
            entry,
            [&](bool) { return Lines{Line(kCommand25Lead, Argument(a), kCommand25Text, Argument(entry), kPathMark)}; }),
        kCommand25Marker);
}

bool ToolCommands::Command26(const Text& entry) const {
    return ErrorRuleCommand(entry, kCommand26LeadNumber, kCommand26LeadName);
}

bool ToolCommands::Command27(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Pick(n, kCommand27LeadNumber, kCommand27LeadName), Argument(entry),
                                       Pick(n, kCommand27TextNumber, kCommand27TextName), Argument(a), kPathMark)};
                 })
        .has_value();
}

bool ToolCommands::Command28(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Pick(n, kCommand28LeadNumber, kCommand28LeadName), Argument(entry),
                                       Pick(n, kCommand28TextNumber, kCommand28TextName), Argument(a))};
                 })
        .has_value();
}

bool ToolCommands::Command29(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Pick(n, kCommand29LeadNumber, kCommand29LeadName), Argument(entry),
                                       Pick(n, kCommand29TextNumber, kCommand29TextName), Argument(a))};
                 })
        .has_value();
}

bool ToolCommands::Command30(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Pick(n, kCommand30LeadNumber, kCommand30LeadName), Argument(entry),
                                       Pick(n, kCommand30TextNumber, kCommand30TextName), Argument(a))};
                 })
        .has_value();
}

bool ToolCommands::Command31(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Pick(n, kCommand31LeadNumber, kCommand31LeadName), Argument(entry),
                                       Pick(n, kCommand31TextNumber, kCommand31TextName), Argument(a), kCommand31Mid,
                                       Argument(b))};
                 })
        .has_value();
}

Text ToolCommands::Command32(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Pick(n, kCommand32LeadNumber, kCommand32LeadName), Argument(entry),
                                       Pick(n, kCommand32TextNumber, kCommand32TextName), Argument(a))};
                 })
        .value_or(Text());
}

bool ToolCommands::Command33(const Text& entry) const {
    return ErrorRuleCommand(entry, kCommand33LeadNumber, kCommand33LeadName);
}

bool ToolCommands::Command34(const Text& entry, const Text& a) const {
    return ByErrorRule(
        entry, Issue(entry, [&](bool n) {
            return Lines{Line(Pick(n, kCommand34LeadNumber, kCommand34LeadName), Argument(entry),
                              Pick(n, kCommand34TextNumber, kCommand34TextName), Argument(a), kPathMark)};
        }));
}

bool ToolCommands::Command35(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Pick(n, kCommand35LeadNumber, kCommand35LeadName), Argument(entry),
                                       Pick(n, kCommand35TextNumber, kCommand35TextName), Argument(a), kCommand35Mid,
                                       Argument(b))};
                 })
        .has_value();
}

bool ToolCommands::BackupEntry(const Text& entry, const Text& file) const {
    return Issue(
               entry,
               [&](bool n) {
                   return Lines{Line(Pick(n, kBackupEntryLeadNumber, kBackupEntryLeadName), Argument(entry),
                                     Pick(n, kBackupEntryTextNumber, kBackupEntryTextName), Argument(file), kPathMark)};
               })
        .has_value();
}

bool ToolCommands::RestoreEntry(const Text& entry, const Text& file) const {
    return HasMarker(Issue(entry,
                           [&](bool n) {
                               return Lines{Line(
                                   Pick(n, kRestoreEntryLeadNumber, kRestoreEntryLeadName), Argument(entry),
                                   Pick(n, kRestoreEntryTextNumber, kRestoreEntryTextName), Argument(file), kPathMark)};
                           }),
                     kRestoreMarker);
}

bool ToolCommands::Command38(const Text& entry) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand38TextNumber, kCommand38TextName))};
                 })
        .has_value();
}

bool ToolCommands::Command39(const Text& entry) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand39TextNumber, kCommand39TextName))};
                 })
        .has_value();
}

bool ToolCommands::Command40(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand40TextNumber, kCommand40TextName),
                                       Argument(a), kPathMark)};
                 })
        .has_value();
}

bool ToolCommands::Command41(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand41TextNumber, kCommand41TextName),
                                       Argument(a), kPathMark)};
                 })
        .has_value();
}

bool ToolCommands::Command42(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry,
                 [&](bool n) {
                     const char* t = Pick(n, kCommand42TextNumber, kCommand42TextName);
                     return Lines{Line(Prefix(n), Argument(entry), t, Argument(a), kPathMark),
                                  Line(Prefix(n), Argument(entry), t, Argument(b), kPathMark)};
                 })
        .has_value();
}

bool ToolCommands::Command43(const Text& entry, const Text& a) const {
    return Issue(entry,
                 [&](bool n) {
                     return Lines{Line(Prefix(n), Argument(entry), Pick(n, kCommand43TextNumber, kCommand43TextName),
                                       Argument(a), kPathMark)};
                 })
        .has_value();
}

int32_t ToolCommands::ListEntries(EntryList& list) const {
    list.clear();
    return ParseEntryListing(RunLines({kListCommand}), list);
}

ListingOutcome ToolCommands::ListEntriesOutcome(EntryList& list) const {
    list.clear();
    return ParseEntryListingOutcome(RunLines({kListCommand}), list);
}

bool ToolCommands::LocateAgain() {
    bool found = false;
    WithToolDirLocked([&] { found = link_.Locate(); });
    return found;
}
