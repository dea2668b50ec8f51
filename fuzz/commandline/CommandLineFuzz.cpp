// Every command line the program builds from outside text (entry names, paths, option values, the
// target id, the tool's path), under code page 936 and 1252: either the command is refused and
// nothing runs, or every line, after the runner's launch prefix and the conversion from the code
// page, is read by the command interpreter with no operator, variable or line break outside quotes
// (no variable whose name starts with a double quote exists for the runner's commands), and then
// split by the C runtime into exactly the arguments meant. Percent signs and references to real
// variables are put into the texts at every position.
//
// Which texts must be refused, how the interpreter and the C runtime read a line, and how the
// code page turns bytes into characters are written apart from the program's rules, in
// tests/support (CommandLineOracle.h, CommandLineSplit.h). The arguments meant are not restated per
// command: each command is first built with plain marker texts, its lines split, and the markers in
// those arguments then replaced by the real texts.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "common/portable/LeadBytes.h"
#include "fuzz/FuzzCheck.h"
#include "tests/support/portable/CommandLineOracle.h"
#include "tests/support/portable/CommandLineSplit.h"
#include "tooldriver/CommandRunner.h"
#include "tooldriver/portable/EntryCommandLines.h"
#include "toollink/portable/TargetCommandLines.h"

namespace {

enum Slot { kEntry = 1, kA = 2, kB = 4, kTarget = 8, kTool = 16 };

struct Values {
    Text entry, a, b, target;
    Text tool = "C:\\Program Files (x86)\\Entry Tool\\bin\\entryctl.exe";
};

using Lines = std::optional<TextArray>;
using Build = std::function<Lines(const Values&, const LeadBytes&)>;

struct Op {
    const char* name;
    int slots;
    Build build;
    // SendOptions: in the name form its a and b stand outside quotes; `rawA` says a is the raw part.
    bool sendOptions = false;
    bool rawA = false;
};

// An entry command: its lines built under the code page.
template <typename F>
Build Entry(F lines) {
    return [lines](const Values& v, const LeadBytes& lb) { return BuildCommandLines(lines(v), lb); };
}

// A target command: one line, addressed to the tool and the target of `v`.
template <typename F>
Build Target(F line) {
    return [line](const Values& v, const LeadBytes& lb) {
        return BuildCommandLines({line(TargetAddress{v.tool, v.target}, v)}, lb);
    };
}

Lines Options(const Values& v, const LeadBytes& lb, bool raw) {
    OptionValues options;
    if (!raw) {
        options[0] = v.a;
        options[6] = v.b;
    }
    const std::optional<OptionsLine> line =
        BuildOptionsLine(v.entry, raw ? std::optional<Text>(v.a) : std::nullopt, options, lb);
    return line ? Lines(TextArray{line->line}) : std::nullopt;
}

const std::vector<Op>& Ops() {
    using V = const Values&;
    using A = const TargetAddress&;
    static const std::vector<Op> ops = {
        {"Command02", kEntry | kA, Entry([](V v) { return Command02Lines(v.entry, v.a); })},
        {"SendOptions raw", kEntry | kA, [](V v, const LeadBytes& lb) { return Options(v, lb, true); }, true, true},
        {"SendOptions options", kEntry | kA | kB, [](V v, const LeadBytes& lb) { return Options(v, lb, false); }, true},
        {"CaptureRows", kEntry, Entry([](V v) { return CaptureRowsLines(v.entry); })},
        {"PointAt", kEntry, Entry([](V v) { return PointAtLines(v.entry, 10, -20); })},
        {"Command07", kEntry | kA, Entry([](V v) { return Command07Lines(v.entry, v.a); })},
        {"Command08", kEntry, Entry([](V v) { return Command08Lines(v.entry, 1, 2, 3, 4, 5); })},
        {"Command09", kEntry, Entry([](V v) { return Command09Lines(v.entry); })},
        {"Command10", kEntry, Entry([](V v) { return Command10Lines(v.entry); })},
        {"QueryText", kEntry | kA, Entry([](V v) { return QueryTextLines(v.entry, v.a); })},
        {"Command15", kEntry, Entry([](V v) { return Command15Lines(v.entry); })},
        {"Command16", kEntry | kA | kB, Entry([](V v) { return Command16Lines(v.entry, v.a, v.b); })},
        {"Command17", kEntry | kA | kB, Entry([](V v) { return Command17Lines(v.entry, v.a, v.b); })},
        {"Command18", kEntry, Entry([](V v) { return Command18Lines(v.entry); })},
        {"Command19", kEntry, Entry([](V v) { return Command19Lines(v.entry); })},
        {"Command20", kEntry | kA | kB, Entry([](V v) { return Command20Lines(v.entry, v.a, v.b); })},
        {"Command21", kEntry, Entry([](V v) { return Command21Lines(v.entry); })},
        {"Command22", kEntry, Entry([](V v) { return Command22Lines(v.entry); })},
        {"CreateEntry", kEntry, Entry([](V v) { return CreateEntryLines(v.entry, 3); })},
        {"Command25", kEntry | kA, Entry([](V v) { return Command25Lines(v.entry, v.a); })},
        {"Command26", kEntry, Entry([](V v) { return Command26Lines(v.entry); })},
        {"Command27", kEntry | kA, Entry([](V v) { return Command27Lines(v.entry, v.a); })},
        {"Command28", kEntry | kA, Entry([](V v) { return Command28Lines(v.entry, v.a); })},
        {"Command29", kEntry | kA, Entry([](V v) { return Command29Lines(v.entry, v.a); })},
        {"Command30", kEntry | kA, Entry([](V v) { return Command30Lines(v.entry, v.a); })},
        {"Command31", kEntry | kA | kB, Entry([](V v) { return Command31Lines(v.entry, v.a, v.b); })},
        {"Command32", kEntry | kA, Entry([](V v) { return Command32Lines(v.entry, v.a); })},
        {"Command33", kEntry, Entry([](V v) { return Command33Lines(v.entry); })},
        {"Command34", kEntry | kA, Entry([](V v) { return Command34Lines(v.entry, v.a); })},
        {"Command35", kEntry | kA | kB, Entry([](V v) { return Command35Lines(v.entry, v.a, v.b); })},
        {"BackupEntry", kEntry | kA, Entry([](V v) { return BackupEntryLines(v.entry, v.a); })},
        {"RestoreEntry", kEntry | kA, Entry([](V v) { return RestoreEntryLines(v.entry, v.a); })},
        {"Command38", kEntry, Entry([](V v) { return Command38Lines(v.entry); })},
        {"Command39", kEntry, Entry([](V v) { return Command39Lines(v.entry); })},
        {"Command40", kEntry | kA, Entry([](V v) { return Command40Lines(v.entry, v.a); })},
        {"Command41", kEntry | kA, Entry([](V v) { return Command41Lines(v.entry, v.a); })},
        {"Command42", kEntry | kA | kB, Entry([](V v) { return Command42Lines(v.entry, v.a, v.b); })},
        {"Command43", kEntry | kA, Entry([](V v) { return Command43Lines(v.entry, v.a); })},
        {"target listing", kTool,
         [](V v, const LeadBytes& lb) { return BuildCommandLines({TargetListingLine(v.tool)}, lb); }},
        {"target 27", kTool,
         [](V v, const LeadBytes& lb) { return BuildCommandLines({TargetCommand27Line(v.tool)}, lb); }},
        {"target 1", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand01Line(t, v.a); })},
        {"target 2", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand02Line(t, v.a); })},
        {"target 3", kTool | kTarget | kA | kB, Target([](A t, V v) { return TargetCommand03Line(t, v.a, v.b); })},
        {"target 4", kTool | kTarget | kA | kB, Target([](A t, V v) { return TargetCommand04Line(t, v.a, v.b); })},
        {"target 5", kTool | kTarget, Target([](A t, V) { return TargetCommand05Line(t); })},
        {"target 6", kTool | kTarget, Target([](A t, V) { return TargetCommand06Line(t); })},
        {"target 7", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand07Line(t, v.a); })},
        {"target 8", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand08Line(t, v.a); })},
        {"target 9", kTool | kTarget | kA | kB, Target([](A t, V v) { return TargetCommand09Line(t, v.a, v.b); })},
        {"target 10", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand10Line(t, v.a); })},
        {"target 11", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand11Line(t, v.a); })},
        {"target 12", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand12Line(t, v.a); })},
        {"target 13", kTool | kTarget, Target([](A t, V) { return TargetCommand13Line(t, 1, -2); })},
        {"target 14", kTool | kTarget, Target([](A t, V) { return TargetCommand14Line(t, 1, 2, 3, 4, 5); })},
        {"target 15", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand15Line(t, v.a); })},
        {"target 16", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand16Line(t, v.a); })},
        {"target 17", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand17Line(t, v.a); })},
        {"target 18", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand18Line(t, v.a); })},
        {"target 19", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand19Line(t, v.a); })},
        {"target 20", kTool | kTarget, Target([](A t, V) { return TargetCommand20Line(t); })},
        {"target 21", kTool | kTarget, Target([](A t, V) { return TargetCommand21Line(t); })},
        {"target 22", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand22Line(t, v.a); })},
        {"target 23", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand23Line(t, v.a); })},
        {"target 24", kTool | kTarget | kA, Target([](A t, V v) { return TargetCommand24Line(t, v.a); })},
        {"target 25", kTool | kTarget, Target([](A t, V) { return TargetCommand25Line(t); })},
        {"target 26", kTool | kTarget, Target([](A t, V) { return TargetCommand26Line(t); })},
    };
    return ops;
}

// The interpreter's reading of the runner's whole line, then the C runtime's split of the command.
InterpreterReading ReadLine(const Text& line, const LeadBytes& lb) {
    return ReadAsInterpreter(
        DecodeWithLeadBytes("C:\\Windows\\system32\\cmd.exe" + Text(kInterpreterSwitches) + line, lb),
        MayBeDefinedForTheRunner);
}

// Texts the command interpreter would expand if they reached it as they are.
const char* const kPercentPieces[] = {"%", "%PATH%", "%OS%", "%PATH:~0,3%", "%%", "%OS:S=X%", "%1", "\\%", "%\\"};

// `text` with one of kPercentPieces put in at a position the input chooses (any of them).
void PutPercentPiece(FuzzedDataProvider& input, Text& text) {
    const char* piece = kPercentPieces[input.ConsumeIntegralInRange<size_t>(0, std::size(kPercentPieces) - 1)];
    text.insert(input.ConsumeIntegralInRange<size_t>(0, text.size()), piece);
}

// The split lines of `op` built with markers in place of the texts, per form and code page.
const std::vector<std::vector<WideText>>& MarkedLines(size_t opIndex,
                                                      bool numeric,
                                                      bool doubleByte,
                                                      const LeadBytes& lb) {
    static std::map<std::tuple<size_t, bool, bool>, std::vector<std::vector<WideText>>> cache;
    const auto key = std::make_tuple(opIndex, numeric, doubleByte);
    if (auto found = cache.find(key); found != cache.end())
        return found->second;
    const Op& op = Ops()[opIndex];
    const Lines lines =
        op.build({numeric ? kNumberMarker : kNameMarker, kAMarker, kBMarker, kTargetMarker, kToolMarker}, lb);
    FUZZ_CHECK(lines && !lines->empty(), std::string(op.name) + " builds no line with plain markers");
    std::vector<std::vector<WideText>> split;
    for (const Text& line : *lines) {
        const InterpreterReading reading = ReadLine(line, lb);
        FUZZ_CHECK(reading.safe, std::string(op.name) + " with markers: " + reading.problem);
        split.push_back(SplitAsCRuntime(reading.command));
    }
    return cache[key] = split;
}

// Filler texts for the slots the input leaves alone: safe, each with a trap of its own.
const Values kFillers[] = {
    {"box \\", "C:\\dir\\", "b\\c\\", "T\\1\\"},
    {"12", "\x95\x5C", "plain", "T1", "C:\\T&x (1)\\\xB1\xB8\\e.exe"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const size_t opIndex = input.ConsumeIntegralInRange<size_t>(0, Ops().size() - 1);
    const Op& op = Ops()[opIndex];
    const bool doubleByte = input.ConsumeIntegralInRange(0, 3) != 0;
    const LeadBytes& lb = doubleByte ? LeadBytes::CodePage936() : LeadBytes::CodePage1252();
    Values v = kFillers[input.ConsumeBool() ? 1 : 0];
    for (auto [bit, text] :
         {std::pair{kEntry, &v.entry}, {kA, &v.a}, {kB, &v.b}, {kTarget, &v.target}, {kTool, &v.tool}}) {
        if ((op.slots & bit) && input.ConsumeBool())
            *text = input.ConsumeRandomLengthString(80);
        if ((op.slots & bit) && input.ConsumeIntegralInRange(0, 3) == 0)
            PutPercentPiece(input, *text);
    }

    const bool numeric = (op.slots & kEntry) && IsAllDigits(v.entry);
    bool refuse = false;
    for (auto [bit, text] :
         {std::pair{kEntry, &v.entry}, {kA, &v.a}, {kB, &v.b}, {kTarget, &v.target}, {kTool, &v.tool}}) {
        // The tool's path and a raw part are placed as they stand, and so, for percent signs, are
        // option values outside quotes; every other text is an argument inside quotes.
        const bool asItStands =
            bit == kTool || (bit == kA && op.rawA) || (op.sendOptions && !numeric && (bit == kA || bit == kB));
        refuse = refuse || ((op.slots & bit) && (asItStands ? MustBeRefusedAsItStands(*text, doubleByte)
                                                            : MustBeRefused(*text, doubleByte)));
    }
    if (op.sendOptions && !numeric) {
        // Outside quotes: no operators; an option value is also one word, never empty.
        refuse = refuse || HasInterpreterOperator(v.a) || (!op.rawA && HasInterpreterOperator(v.b));
        if (!op.rawA) {
            for (const Text* value : {&v.a, &v.b})
                refuse = refuse || value->empty() || value->find_first_of(" \t") != Text::npos;
        }
    }

    const std::string where = std::string(op.name) + (doubleByte ? " (code page 936)" : " (code page 1252)") +
                              " with entry " + ShowBytes(v.entry) + ", a " + ShowBytes(v.a) + ", b " + ShowBytes(v.b) +
                              ", target " + ShowBytes(v.target) + ", tool " + ShowBytes(v.tool);
    const Lines lines = op.build(v, lb);
    FUZZ_CHECK(refuse == !lines, where + (refuse ? ": built although it had to be refused: " + ShowBytes((*lines)[0])
                                                 : ": refused although safe"));
    if (!lines)
        return 0;

    const auto& marked = MarkedLines(opIndex, numeric, doubleByte, lb);
    FUZZ_CHECK(lines->size() == marked.size(), where + ": " + std::to_string(lines->size()) + " lines");
    const std::map<WideText, WideText> texts = {
        {DecodeWithLeadBytes(numeric ? kNumberMarker : kNameMarker, lb), DecodeWithLeadBytes(v.entry, lb)},
        {DecodeWithLeadBytes(kAMarker, lb), DecodeWithLeadBytes(v.a, lb)},
        {DecodeWithLeadBytes(kBMarker, lb), DecodeWithLeadBytes(v.b, lb)},
        {DecodeWithLeadBytes(kTargetMarker, lb), DecodeWithLeadBytes(v.target, lb)},
        {DecodeWithLeadBytes(kToolMarker, lb), DecodeWithLeadBytes(v.tool, lb)},
    };
    const WideText words = op.rawA && !numeric ? DecodeWithLeadBytes(kAMarker, lb) : WideText();
    for (size_t i = 0; i < lines->size(); ++i) {
        const Text& line = (*lines)[i];
        const InterpreterReading reading = ReadLine(line, lb);
        FUZZ_CHECK(reading.safe, where + ": the interpreter would see " + reading.problem + " in " + ShowBytes(line));
        const std::vector<WideText> arguments = SplitAsCRuntime(reading.command);
        const std::vector<WideText> meant = SubstituteMarkers(marked[i], texts, words);
        FUZZ_CHECK(arguments == meant, where + ": line " + ShowBytes(line) + " gives " + ShowArguments(arguments) +
                                           ", meant " + ShowArguments(meant));
    }
    return 0;
}
