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
#include "tests/support/portable/ToolOperations.h"
#include "tooldriver/CommandRunner.h"
#include "tooldriver/portable/EntryCommandLines.h"
#include "toollink/portable/TargetCommandLines.h"

namespace {

using Values = ToolOperationValues;
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

// The portable builders' lines of every operation (ToolOperations.h), under the code page; a
// target command is addressed to the tool and the target of `v`.
const std::vector<Op>& Ops() {
#define EK_ENTRY_OP(name, slots, call, lines) \
    {name, slots, [](const Values& v, const LeadBytes& lb) { return BuildCommandLines(lines, lb); }},
#define EK_OPTIONS_OP(name, slots, rawA) \
    {name, slots, [](const Values& v, const LeadBytes& lb) { return Options(v, lb, rawA); }, true, rawA},
#define EK_TARGET_OP(name, slots, call, line)                                  \
    {name, kSlotTool | (slots), [](const Values& v, const LeadBytes& lb) {     \
         [[maybe_unused]] const TargetAddress address{v.tool, v.target};       \
         return BuildCommandLines({line}, lb);                                 \
     }},
    static const std::vector<Op> ops = {EK_TOOL_OPERATIONS(EK_ENTRY_OP, EK_OPTIONS_OP, EK_TARGET_OP)};
#undef EK_ENTRY_OP
#undef EK_OPTIONS_OP
#undef EK_TARGET_OP
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
         {std::pair{kSlotEntry, &v.entry}, {kSlotA, &v.a}, {kSlotB, &v.b}, {kSlotTarget, &v.target}, {kSlotTool, &v.tool}}) {
        if ((op.slots & bit) && input.ConsumeBool())
            *text = input.ConsumeRandomLengthString(80);
        if ((op.slots & bit) && input.ConsumeIntegralInRange(0, 3) == 0)
            PutPercentPiece(input, *text);
    }

    const bool numeric = (op.slots & kSlotEntry) && IsAllDigits(v.entry);
    bool refuse = false;
    for (auto [bit, text] :
         {std::pair{kSlotEntry, &v.entry}, {kSlotA, &v.a}, {kSlotB, &v.b}, {kSlotTarget, &v.target}, {kSlotTool, &v.tool}}) {
        // The tool's path and a raw part are placed as they stand, and so, for percent signs, are
        // option values outside quotes; every other text is an argument inside quotes.
        const bool asItStands =
            bit == kSlotTool || (bit == kSlotA && op.rawA) || (op.sendOptions && !numeric && (bit == kSlotA || bit == kSlotB));
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
