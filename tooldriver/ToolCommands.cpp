#include "tooldriver/ToolCommands.h"

#include <utility>

#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "tooldriver/EntryListing.h"
#include "tooldriver/ToolCommandsRunner.h"
#include "toollink/CommandLineSafety.h"
#include "toollink/vocabulary/ToolVocabulary.h"

namespace {

// Pieces joined with nothing between them.
template <typename... Pieces>
Text Join(const Pieces&... pieces) {
    Text line;
    ((line += pieces), ...);
    return line;
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

std::optional<Text> ToolCommands::Issue(const Text& entry, std::initializer_list<const Text*> arguments,
                                        const LineBuilder& build) const {
    if (!IsSafeCommandArgument(entry))
        return std::nullopt;
    for (const Text* argument : arguments) {
        if (!IsSafeCommandArgument(*argument))
            return std::nullopt;
    }
    return RunLines(build(IsAllDigits(entry)));
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
    return IsAllDigits(entry) || !link_.Contains(*output, kErrorMarker);
}

bool ToolCommands::Command02(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand02TextNumber, kCommand02TextName), a,
                                     kPathMark)};
           })
        .has_value();
}

Text ToolCommands::SendOptions(const Text& entry, const std::optional<Text>& raw, const OptionValues& options) const {
    if (!IsSafeCommandArgument(entry))
        return Text();
    const bool numeric = IsAllDigits(entry);
    // In the numeric form the entry's quote is still open when the argument part starts, so the
    // part stands inside quotes; in the name form the path mark has closed it, so a raw part and
    // the option values stand outside them.
    const auto safe = numeric ? IsSafeCommandArgument : IsSafeUnquoted;
    Text part;
    if (raw) {
        if (!safe(*raw))
            return Text();
        part = *raw;
    } else {
        part = kArgSep;
        for (size_t k = 0; k < options.size(); ++k) {
            if (!options[k])
                continue;
            if (!safe(*options[k]))
                return Text();
            part += Join(kOptionKeys[k], *options[k]);
        }
    }
    RunLines({numeric ? Join(kSendOptionsLeadNumber, entry, part)
                      : Join(kSendOptionsLeadName, entry, kPathMark, part)});
    return part;
}

bool ToolCommands::PointAt(const Text& entry, int32_t x, int32_t y) const {
    return Issue(entry, {}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kPointAtTextNumber, kPointAtTextName), IntToText(x),
                                     kArgSep, IntToText(y), kPathMark)};
           })
        .has_value();
}

bool ToolCommands::Command07(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand07TextNumber, kCommand07TextName), a,
                                     kCommand07Tail)};
           })
        .has_value();
}

bool ToolCommands::Command08(const Text& entry, int32_t a1, int32_t a2, int32_t a3, int32_t a4,
                             std::optional<int32_t> a5) const {
    return Issue(entry, {}, [&](bool n) {
               const Text fifth = a5 ? Join(kArgSep, IntToText(*a5)) : Text();
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand08TextNumber, kCommand08TextName),
                                     IntToText(a1), kArgSep, IntToText(a2), kArgSep, IntToText(a3), kArgSep,
                                     IntToText(a4), fifth, kPathMark)};
           })
        .has_value();
}

bool ToolCommands::SendSignal(const Text& entry, int code) const {
    return Issue(entry, {}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand09TextNumber, kCommand09TextName),
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
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kQueryTextTextNumber, kQueryTextTextName), a,
                                     kPathMark)};
           })
        .value_or(Text());
}

bool ToolCommands::Command15(const Text& entry) const {
    return SendSignal(entry, kCommand15Code);
}

bool ToolCommands::Command16(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry, {&a, &b}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand16TextNumber, kCommand16TextName), a,
                                     kCommand16Mid, b, kPathMark)};
           })
        .has_value();
}

bool ToolCommands::Command17(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry, {&a, &b}, [&](bool n) {
               return TextArray{
                   Join(Prefix(n), entry, Pick(n, kCommand17Text1Number, kCommand17Text1Name), a, kCommand17Mid, b,
                        kPathMark),
                   Join(Prefix(n), entry, Pick(n, kCommand17Text2Number, kCommand17Text2Name), a, kCommand17Mid, b,
                        kPathMark),
               };
           })
        .has_value();
}

bool ToolCommands::Command18(const Text& entry) const {
    return Issue(entry, {}, [&](bool n) {
               TextArray lines;
               for (int k = 0; k < 6; ++k)
                   lines.push_back(Join(Prefix(n), entry, Pick(n, kCommand18TextsNumber[k], kCommand18TextsName[k])));
               return lines;
           })
        .has_value();
}

bool ToolCommands::Command19(const Text& entry) const {
    return HasMarker(Issue(entry, {},
                           [&](bool n) {
                               return TextArray{Join(Pick(n, kCommand19LeadNumber, kCommand19LeadName), entry,
                                                     Pick(n, kCommand19TextNumber, kCommand19TextName))};
                           }),
                     kCommand19Marker);
}

bool ToolCommands::Command20(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry, {&a, &b}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand20TextNumber, kCommand20TextName), a, kMid9, b,
                                     kPathMark)};
           })
        .has_value();
}

bool ToolCommands::ErrorRuleCommand(const Text& entry, const char* leadNumber, const char* leadName) const {
    return ByErrorRule(entry, Issue(entry, {}, [&](bool n) {
                           return TextArray{n ? Join(leadNumber, entry) : Join(leadName, entry, kPathMark)};
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
    if (!IsSafeCommandArgument(entry))
        return -1;
    const char* modeText = mode == 1 ? kCreateModeText1 : mode == 3 ? kCreateModeText3 : kCreateModeText2;
    const Text output = RunLines({Join(kCreateEntryLead, entry, kCreateEntryText, modeText)});
    if (!link_.Contains(output, kCreateMarker))
        return -1;
    return TextToInt(ReplaceText(TrimText(output), kCreateStrip, ""));
}

bool ToolCommands::Command25(const Text& entry, const Text& a) const {
    // One form only: the same line shape serves numbers and names.
    return HasMarker(
        Issue(entry, {&a}, [&](bool) { return TextArray{Join(kCommand25Lead, a, kCommand25Text, entry, kPathMark)}; }),
        kCommand25Marker);
}

bool ToolCommands::Command26(const Text& entry) const {
    return ErrorRuleCommand(entry, kCommand26LeadNumber, kCommand26LeadName);
}

bool ToolCommands::Command27(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Pick(n, kCommand27LeadNumber, kCommand27LeadName), entry,
                                     Pick(n, kCommand27TextNumber, kCommand27TextName), a, kPathMark)};
           })
        .has_value();
}

bool ToolCommands::Command28(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Pick(n, kCommand28LeadNumber, kCommand28LeadName), entry,
                                     Pick(n, kCommand28TextNumber, kCommand28TextName), a)};
           })
        .has_value();
}

bool ToolCommands::Command29(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Pick(n, kCommand29LeadNumber, kCommand29LeadName), entry,
                                     Pick(n, kCommand29TextNumber, kCommand29TextName), a)};
           })
        .has_value();
}

bool ToolCommands::Command30(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Pick(n, kCommand30LeadNumber, kCommand30LeadName), entry,
                                     Pick(n, kCommand30TextNumber, kCommand30TextName), a)};
           })
        .has_value();
}

bool ToolCommands::Command31(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry, {&a, &b}, [&](bool n) {
               return TextArray{Join(Pick(n, kCommand31LeadNumber, kCommand31LeadName), entry,
                                     Pick(n, kCommand31TextNumber, kCommand31TextName), a, kCommand31Mid, b)};
           })
        .has_value();
}

Text ToolCommands::Command32(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Pick(n, kCommand32LeadNumber, kCommand32LeadName), entry,
                                     Pick(n, kCommand32TextNumber, kCommand32TextName), a)};
           })
        .value_or(Text());
}

bool ToolCommands::Command33(const Text& entry) const {
    return ErrorRuleCommand(entry, kCommand33LeadNumber, kCommand33LeadName);
}

bool ToolCommands::Command34(const Text& entry, const Text& a) const {
    return ByErrorRule(entry, Issue(entry, {&a}, [&](bool n) {
                           return TextArray{Join(Pick(n, kCommand34LeadNumber, kCommand34LeadName), entry,
                                                 Pick(n, kCommand34TextNumber, kCommand34TextName), a, kPathMark)};
                       }));
}

bool ToolCommands::Command35(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry, {&a, &b}, [&](bool n) {
               return TextArray{Join(Pick(n, kCommand35LeadNumber, kCommand35LeadName), entry,
                                     Pick(n, kCommand35TextNumber, kCommand35TextName), a, kCommand35Mid, b)};
           })
        .has_value();
}

bool ToolCommands::BackupEntry(const Text& entry, const Text& file) const {
    return Issue(entry, {&file}, [&](bool n) {
               return TextArray{Join(Pick(n, kBackupEntryLeadNumber, kBackupEntryLeadName), entry,
                                     Pick(n, kBackupEntryTextNumber, kBackupEntryTextName), file, kPathMark)};
           })
        .has_value();
}

bool ToolCommands::RestoreEntry(const Text& entry, const Text& file) const {
    return HasMarker(Issue(entry, {&file},
                           [&](bool n) {
                               return TextArray{Join(Pick(n, kRestoreEntryLeadNumber, kRestoreEntryLeadName), entry,
                                                     Pick(n, kRestoreEntryTextNumber, kRestoreEntryTextName), file,
                                                     kPathMark)};
                           }),
                     kRestoreMarker);
}

bool ToolCommands::Command38(const Text& entry) const {
    return Issue(entry, {}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand38TextNumber, kCommand38TextName))};
           })
        .has_value();
}

bool ToolCommands::Command39(const Text& entry) const {
    return Issue(entry, {}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand39TextNumber, kCommand39TextName))};
           })
        .has_value();
}

bool ToolCommands::Command40(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand40TextNumber, kCommand40TextName), a,
                                     kPathMark)};
           })
        .has_value();
}

bool ToolCommands::Command41(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand41TextNumber, kCommand41TextName), a,
                                     kPathMark)};
           })
        .has_value();
}

bool ToolCommands::Command42(const Text& entry, const Text& a, const Text& b) const {
    return Issue(entry, {&a, &b}, [&](bool n) {
               const char* t = Pick(n, kCommand42TextNumber, kCommand42TextName);
               return TextArray{Join(Prefix(n), entry, t, a, kPathMark), Join(Prefix(n), entry, t, b, kPathMark)};
           })
        .has_value();
}

bool ToolCommands::Command43(const Text& entry, const Text& a) const {
    return Issue(entry, {&a}, [&](bool n) {
               return TextArray{Join(Prefix(n), entry, Pick(n, kCommand43TextNumber, kCommand43TextName), a,
                                     kPathMark)};
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
