#include "tooldriver/ToolCommands.h"

#include <utility>

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/TextOps.h"
#include "tooldriver/ToolCommandsRunner.h"
#include "tooldriver/portable/EntryListing.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

// The output of every run of `capture`, for the operations that look at nothing else.
CommandRunnerFn OutputOf(CommandCaptureFn capture) {
    return [capture = std::move(capture)](const Text& command, const ChunkObserver* observer, bool notifyChunks) {
        return capture(command, observer, notifyChunks, CommandWatch()).output;
    };
}

// A runner that gives only the output, as one whose every command ran to its end with code 0.
CommandCaptureFn EndingWithZero(CommandRunnerFn runner) {
    return [runner = std::move(runner)](const Text& command, const ChunkObserver* observer, bool notifyChunks,
                                        const CommandWatch&) {
        Capture capture;
        capture.output = runner(command, observer, notifyChunks);
        capture.end = CaptureEnd::ChildEnded;
        return capture;
    };
}

}  // namespace

ToolCommands::ToolCommands() : ToolCommands(CommandCaptureFn(CaptureConsoleCommand)) {}

ToolCommands::ToolCommands(CommandRunnerFn runner) : ToolCommands(EndingWithZero(std::move(runner))) {}

ToolCommands::ToolCommands(CommandCaptureFn capture)
    : capture_(RunningInToolDir(std::move(capture))), runner_(OutputOf(capture_)), link_(runner_) {
    link_.Locate();
}

ToolCommands::~ToolCommands() = default;

ToolCommands::ToolCommands(const ToolCommands& other)
    : capture_(other.capture_), runner_(other.runner_), link_(other.link_), policy_(other.Policy()) {}

void ToolCommands::SetPolicy(const CommandPolicy& policy) {
    std::lock_guard<std::mutex> held(policyLock_);
    policy_ = policy;
}

CommandPolicy ToolCommands::Policy() const {
    std::lock_guard<std::mutex> held(policyLock_);
    return policy_;
}

std::optional<Capture> ToolCommands::IssueWatched(const CommandLines& pieces, CommandWatch::Keeping keeping,
                                                  const Text& growingFile) const {
    const std::optional<TextArray> lines = BuildCommandLines(pieces, ActiveLeadBytes());
    if (!lines || lines->size() != 1)
        return std::nullopt;
    CommandWatch watch;
    watch.keeping = keeping;
    watch.hangSeconds = Policy().hangSeconds;
    watch.growingFile = growingFile;
    return capture_(lines->front(), nullptr, false, watch);
}

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
    return output ? CreateNumber(*output) : -1;
}

int32_t ToolCommands::CreateNumber(const Text& output) const {
    if (!link_.Contains(output, kCreateMarker))
        return -1;
    return TextToInt(ReplaceText(TrimText(output), kCreateStrip, ""));
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

ToolCommands::ListingRun ToolCommands::ListEntriesRun(EntryList& list) const {
    list.clear();
    const CommandPolicy policy = Policy();
    CommandWatch watch;
    watch.keeping = CommandWatch::Keeping::OwnJob;
    watch.hangSeconds = policy.hangSeconds;
    const Capture capture = capture_(kListCommand, nullptr, false, watch);
    ListingRun run;
    run.end = JudgeCommand(capture, policy);
    run.outcome = ParseEntryListingOutcome(capture.output, list);
    // What a command that did not end well printed is not the whole list, however it reads.
    if (!run.end.Done())
        run.outcome = ListingOutcome::Failed;
    return run;
}

CommandEnd ToolCommands::BackupEntryRun(const Text& entry, const Text& file) const {
    const std::optional<Capture> capture =
        IssueWatched(BackupEntryLines(entry, file), CommandWatch::Keeping::OwnJob, file);
    return capture ? JudgeCommand(*capture, Policy()) : RefusedCommand();
}

ToolCommands::RestoreRun ToolCommands::RestoreEntryRun(const Text& entry, const Text& file) const {
    const std::optional<Capture> capture =
        IssueWatched(RestoreEntryLines(entry, file), CommandWatch::Keeping::OutsideJobs);
    RestoreRun run;
    if (!capture) {
        run.end = RefusedCommand();
        return run;
    }
    run.end = JudgeCommand(*capture, Policy());
    run.restored = link_.Contains(capture->output, kRestoreMarker);
    return run;
}

ToolCommands::CreateRun ToolCommands::CreateEntryRun(const Text& entry, int32_t mode) const {
    const std::optional<Capture> capture =
        IssueWatched(CreateEntryLines(entry, mode), CommandWatch::Keeping::OutsideJobs);
    CreateRun run;
    if (!capture) {
        run.end = RefusedCommand();
        return run;
    }
    run.end = JudgeCommand(*capture, Policy());
    run.number = CreateNumber(capture->output);
    return run;
}

bool ToolCommands::LocateAgain() {
    bool found = false;
    WithToolDirLocked([&] { found = link_.Locate(); });
    return found;
}
