#include "tooldriver/ToolCommands.h"

#include <utility>

#include "common/ActiveLeadBytes.h"
#include "common/TextOps.h"
#include "tooldriver/EntryListing.h"
#include "tooldriver/ToolCommandsRunner.h"
#include "toollink/vocabulary/ToolVocabulary.h"

ToolCommands::ToolCommands(CommandRunnerFn runner)
    : runner_(RunningInToolDir(std::move(runner))), link_(runner_) {
    link_.Locate();
}

ToolCommands::~ToolCommands() = default;

ToolCommands::ToolCommands(const ToolCommands& other) : runner_(other.runner_), link_(other.link_) {}

std::optional<Text> ToolCommands::Issue(const CommandLines& pieces) const {
    // Every line is built before the first runs: one refused argument refuses them all.
    const std::optional<TextArray> lines = BuildCommandLines(pieces, ActiveLeadBytes());
    if (!lines)
        return std::nullopt;
    return RunLines(*lines);
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
    return Issue(Command02Lines(entry, a)).has_value();
}

Text ToolCommands::SendOptions(const Text& entry, const std::optional<Text>& raw, const OptionValues& options) const {
    const std::optional<OptionsLine> optionsLine = BuildOptionsLine(entry, raw, options, ActiveLeadBytes());
    if (!optionsLine)
        return Text();
    RunLines({optionsLine->line});
    return optionsLine->part;
}

bool ToolCommands::PointAt(const Text& entry, int32_t x, int32_t y) const {
    return Issue(PointAtLines(entry, x, y)).has_value();
}

bool ToolCommands::Command07(const Text& entry, const Text& a) const {
    return Issue(Command07Lines(entry, a)).has_value();
}

bool ToolCommands::Command08(const Text& entry, int32_t a1, int32_t a2, int32_t a3, int32_t a4,
                             std::optional<int32_t> a5) const {
    return Issue(Command08Lines(entry, a1, a2, a3, a4, a5)).has_value();
}

bool ToolCommands::Command09(const Text& entry) const {
    return Issue(Command09Lines(entry)).has_value();
}

bool ToolCommands::Command10(const Text& entry) const {
    return Issue(Command10Lines(entry)).has_value();
}

Text ToolCommands::QueryText(const Text& entry, const Text& a) const {
    return Issue(QueryTextLines(entry, a)).value_or(Text());
}

bool ToolCommands::Command15(const Text& entry) const {
    return Issue(Command15Lines(entry)).has_value();
}

bool ToolCommands::Command16(const Text& entry, const Text& a, const Text& b) const {
    return Issue(Command16Lines(entry, a, b)).has_value();
}

bool ToolCommands::Command17(const Text& entry, const Text& a, const Text& b) const {
    return Issue(Command17Lines(entry, a, b)).has_value();
}

bool ToolCommands::Command18(const Text& entry) const {
    return Issue(Command18Lines(entry)).has_value();
}

bool ToolCommands::Command19(const Text& entry) const {
    return HasMarker(Issue(Command19Lines(entry)), kCommand19Marker);
}

bool ToolCommands::Command20(const Text& entry, const Text& a, const Text& b) const {
    return Issue(Command20Lines(entry, a, b)).has_value();
}

bool ToolCommands::Command21(const Text& entry) const {
    return ByErrorRule(entry, Issue(Command21Lines(entry)));
}

bool ToolCommands::Command22(const Text& entry) const {
    return ByErrorRule(entry, Issue(Command22Lines(entry)));
}

bool ToolCommands::Command23() const {
    RunLines({kCommand23Line});
    return true;
}

int32_t ToolCommands::CreateEntry(const Text& entry, int32_t mode) const {
    const std::optional<Text> output = Issue(CreateEntryLines(entry, mode));
    if (!output || !link_.Contains(*output, kCreateMarker))
        return -1;
    return TextToInt(ReplaceText(TrimText(*output), kCreateStrip, ""));
}

bool ToolCommands::Command25(const Text& entry, const Text& a) const {
    return HasMarker(Issue(Command25Lines(entry, a)), kCommand25Marker);
}

bool ToolCommands::Command26(const Text& entry) const {
    return ByErrorRule(entry, Issue(Command26Lines(entry)));
}

bool ToolCommands::Command27(const Text& entry, const Text& a) const {
    return Issue(Command27Lines(entry, a)).has_value();
}

bool ToolCommands::Command28(const Text& entry, const Text& a) const {
    return Issue(Command28Lines(entry, a)).has_value();
}

bool ToolCommands::Command29(const Text& entry, const Text& a) const {
    return Issue(Command29Lines(entry, a)).has_value();
}

bool ToolCommands::Command30(const Text& entry, const Text& a) const {
    return Issue(Command30Lines(entry, a)).has_value();
}

bool ToolCommands::Command31(const Text& entry, const Text& a, const Text& b) const {
    return Issue(Command31Lines(entry, a, b)).has_value();
}

Text ToolCommands::Command32(const Text& entry, const Text& a) const {
    return Issue(Command32Lines(entry, a)).value_or(Text());
}

bool ToolCommands::Command33(const Text& entry) const {
    return ByErrorRule(entry, Issue(Command33Lines(entry)));
}

bool ToolCommands::Command34(const Text& entry, const Text& a) const {
    return ByErrorRule(entry, Issue(Command34Lines(entry, a)));
}

bool ToolCommands::Command35(const Text& entry, const Text& a, const Text& b) const {
    return Issue(Command35Lines(entry, a, b)).has_value();
}

bool ToolCommands::BackupEntry(const Text& entry, const Text& file) const {
    return Issue(BackupEntryLines(entry, file)).has_value();
}

bool ToolCommands::RestoreEntry(const Text& entry, const Text& file) const {
    return HasMarker(Issue(RestoreEntryLines(entry, file)), kRestoreMarker);
}

bool ToolCommands::Command38(const Text& entry) const {
    return Issue(Command38Lines(entry)).has_value();
}

bool ToolCommands::Command39(const Text& entry) const {
    return Issue(Command39Lines(entry)).has_value();
}

bool ToolCommands::Command40(const Text& entry, const Text& a) const {
    return Issue(Command40Lines(entry, a)).has_value();
}

bool ToolCommands::Command41(const Text& entry, const Text& a) const {
    return Issue(Command41Lines(entry, a)).has_value();
}

bool ToolCommands::Command42(const Text& entry, const Text& a, const Text& b) const {
    return Issue(Command42Lines(entry, a, b)).has_value();
}

bool ToolCommands::Command43(const Text& entry, const Text& a) const {
    return Issue(Command43Lines(entry, a)).has_value();
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
