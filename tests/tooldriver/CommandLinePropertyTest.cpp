// Property of every command line the program builds from outside text (entry names, paths, option
// values, target ids): either the command is refused and nothing runs, or the line, after the
// runner's launch prefix and the platform's conversion from code page 936, is read by the command
// interpreter with no operator, variable or line break outside quotes, and then split by the
// C runtime into exactly the arguments meant. Percent signs, and references to real variables,
// stand in the texts at every position.
//
// The arguments meant are not restated per command: each operation is first run with plain marker
// texts, its lines are split, and the markers in those arguments are then replaced by the real
// texts. The texts come from a fixed-seed generator that mixes every kind of character that has
// ever mattered on a command line.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <set>

#include "tests/support/portable/CommandLineOracle.h"
#include "tests/support/portable/CommandLineSplit.h"
#include "tests/support/portable/ToolOperations.h"
#include "tests/tooldriver/ToolCommandsFake.h"
#include "tooldriver/CommandRunner.h"
#include "toollink/portable/ToolLocation.h"

namespace {

WideText Widen936(const Text& bytes) {
    if (bytes.empty())
        return WideText();
    const int length = MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return WideText(wide.begin(), wide.end());
}

Text Shown(const Text& bytes) {
    return ::testing::PrintToString(bytes);
}

// --- The texts -----------------------------------------------------------------------------------

// Texts that the command interpreter would expand if they reached it as they are.
const char* const kPercentPieces[] = {"%PATH%", "%OS%", "%PATH:~0,3%", "%%", "%path%", "%OS:S=X%", "%1", "%*", "\\%"};

// `base` with a percent sign in each of its positions in turn, and with one at every position.
std::vector<Text> PercentInEveryPosition(const Text& base) {
    std::vector<Text> texts;
    Text everywhere = "%";
    for (size_t i = 0; i <= base.size(); ++i) {
        texts.push_back(base.substr(0, i) + "%" + base.substr(i));
        if (i < base.size())
            everywhere += Text(1, base[i]) + "%";
    }
    texts.push_back(everywhere);
    return texts;
}

class TextMaker {
  public:
    Text Make() {
        Text text;
        const int pieces = Pick(7);
        for (int i = 0; i < pieces; ++i)
            text += Piece();
        switch (Pick(6)) {
            case 0:
                text += Text(1 + Pick(4), '\\');
                break;  // backslashes at the end
            case 1:
                text += LeadByte();
                break;  // a lone lead byte at the end
            case 2:
                text += Text(1, LeadByte()) + (Pick(2) ? '\x5C' : '\x7C');
                break;  // pair, look-alike second byte
            default:
                break;
        }
        return text;
    }

    Text MakePath() { return "C:\\My Backups\\" + Make() + (Pick(2) ? ".bak" : Text(Pick(3), '\\')); }

    Text MakeDigits() { return std::to_string(Pick(100000)); }

  private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    char LeadByte() { return static_cast<char>(0x81 + Pick(0xFE - 0x81 + 1)); }

    Text Piece() {
        static const char kOperators[] = "&|<>^()@!";
        switch (Pick(14)) {
            case 0:
                return Text(1, static_cast<char>(0x20 + Pick(0x5F)));  // printable ASCII
            case 1:
                return Text(1, kOperators[Pick(9)]);
            case 2:
                return Text(1 + Pick(2), ' ');
            case 3:
                return Text(1 + Pick(3), '\\');  // backslashes in the middle
            case 4: {                            // a whole double-byte character
                const char seconds[] = {'\x5C', '\x7C', '\x40', '\x7E', '\x80', '\xA1', '\xFE'};
                return Text(1, LeadByte()) + seconds[Pick(7)];
            }
            case 5:
                return Text(1, LeadByte());  // a lead byte; whatever comes next is its second byte
            case 6:
                return "\"";
            case 7:
                return "%";
            case 8: {  // control bytes, a zero, a tab, DEL
                const char controls[] = {'\x01', '\x07', '\t', '\r', '\n', '\x1A', '\x1B', '\x7F', '\0'};
                return Text(1, controls[Pick(9)]);
            }
            case 9:
                return "\xB1\xB8\xB7\xDD";  // two ordinary characters of code page 936
            case 10:
                return MakeDigits();
            case 11:
                return "x\\\"y";
            case 12:  // references to real variables, a percent sign after a backslash
                return kPercentPieces[Pick(static_cast<int>(std::size(kPercentPieces)))];
            default:
                return "name";
        }
    }

    std::mt19937 rng_{20240917};
};

// --- The operations --------------------------------------------------------------------------------

using Values = ToolOperationValues;

struct Op {
    const char* name;
    int slots;
    std::function<void(ToolCommands&, const Values&)> call;
    // SendOptions: in the name form its a and b stand outside quotes; `rawA` says a is the raw part.
    bool sendOptions = false;
    bool rawA = false;
};

// SendOptions with `v`: raw (a is the raw part) or with a and b as option values 0 and 6.
void SendOptions(ToolCommands& t, const Values& v, bool raw) {
    if (raw) {
        t.SendOptions(v.entry, v.a);
        return;
    }
    OptionValues options;
    options[0] = v.a;
    options[6] = v.b;
    t.SendOptions(v.entry, std::nullopt, options);
}

// Where the calls that give results put them.
struct CallScratch {
    RowArray rows;
    TextArray out;
};

// The command object's call of every operation (ToolOperations.h); a target command runs on the
// tool's path and the target of `v`.
std::vector<Op> Ops() {
#define EK_ENTRY_OP(name, slots, call, lines)               \
    {name, slots, [](ToolCommands& t, const Values& v) { \
         [[maybe_unused]] CallScratch scratch;           \
         t.call;                                         \
     }},
#define EK_OPTIONS_OP(name, slots, rawA) \
    {name, slots, [](ToolCommands& t, const Values& v) { SendOptions(t, v, rawA); }, true, rawA},
#define EK_TARGET_OP(name, slots, call, line)                              \
    {name, kSlotTool | (slots), [](ToolCommands& t, const Values& v) { \
         [[maybe_unused]] CallScratch scratch;                         \
         SetToolPath(v.tool);                                          \
         SetTargetId(v.target);                                        \
         t.Link().call;                                                \
     }},
    return {EK_TOOL_OPERATIONS(EK_ENTRY_OP, EK_OPTIONS_OP, EK_TARGET_OP)};
#undef EK_ENTRY_OP
#undef EK_OPTIONS_OP
#undef EK_TARGET_OP
}

// --- Reading a line as the platform does ---------------------------------------------------------

struct Reading {
    bool safe = false;
    Text problem;
    std::vector<WideText> arguments;
};

Reading ReadLine(const Text& line) {
    const InterpreterReading interpreter =
        ReadAsInterpreter(Widen936(LaunchPrefixNt() + line), MayBeDefinedForTheRunner);
    Reading reading;
    reading.safe = interpreter.safe;
    reading.problem = interpreter.problem;
    if (interpreter.safe)
        reading.arguments = SplitAsCRuntime(interpreter.command);
    return reading;
}

class CommandLinePropertyTest : public ToolCommandsWithFake {
  protected:
    void SetUp() override {
        ToolCommandsWithFake::SetUp();
        SetToolPath("C:\\Program Files (x86)\\Entry Tool\\bin\\entryctl.exe");
    }

    // The split lines of `op` run with markers, per form of the entry.
    const std::vector<std::vector<WideText>>& MarkedLines(size_t opIndex, const Op& op, bool numeric) {
        auto key = std::make_pair(opIndex, numeric);
        auto found = marked_.find(key);
        if (found != marked_.end())
            return found->second;
        fake_.Clear();
        op.call(*commands_, {numeric ? kNumberMarker : kNameMarker, kAMarker, kBMarker, kTargetMarker, kToolMarker});
        std::vector<std::vector<WideText>> lines;
        for (const Text& line : fake_.Lines()) {
            const Reading reading = ReadLine(line);
            EXPECT_TRUE(reading.safe) << op.name << ": " << reading.problem;
            lines.push_back(reading.arguments);
        }
        EXPECT_FALSE(lines.empty()) << op.name << " ran nothing with plain markers";
        return marked_[key] = lines;
    }

    // Checks one run of `op` with `v`; a message per fault.
    void Check(size_t opIndex, const Op& op, const Values& v) {
        const bool numeric = (op.slots & kSlotEntry) && IsAllDigits(v.entry);
        bool refuse = false;
        for (auto [bit, text] :
             {std::pair{kSlotEntry, &v.entry}, {kSlotA, &v.a}, {kSlotB, &v.b}, {kSlotTarget, &v.target}, {kSlotTool, &v.tool}}) {
            // The tool's path and a raw part are placed as they stand, and so, for percent signs, are
            // option values outside quotes; every other text is an argument inside quotes.
            const bool asItStands = bit == kSlotTool || (bit == kSlotA && op.rawA) ||
                                    (op.sendOptions && !numeric && (bit == kSlotA || bit == kSlotB));
            refuse = refuse || ((op.slots & bit) && (asItStands ? MustBeRefusedAsItStands(*text, /*doubleByte=*/true)
                                                                : MustBeRefused(*text, /*doubleByte=*/true)));
        }
        if (op.sendOptions && !numeric) {
            // Outside quotes: no operators; an option value is also one word, never empty.
            refuse = refuse || HasInterpreterOperator(v.a) || (!op.rawA && HasInterpreterOperator(v.b));
            if (!op.rawA) {
                for (const Text* value : {&v.a, &v.b})
                    refuse = refuse || value->empty() || value->find_first_of(" \t") != Text::npos;
            }
        }

        fake_.Clear();
        op.call(*commands_, v);
        const TextArray lines = fake_.Lines();
        const Text where = Text(op.name) + " with entry " + Shown(v.entry) + ", a " + Shown(v.a) + ", b " + Shown(v.b) +
                           ", target " + Shown(v.target) + ", tool " + Shown(v.tool);
        if (refuse) {
            ++refused_;
            if (!lines.empty())
                Fault(where + ": ran although it had to be refused: " + Shown(lines[0]));
            return;
        }
        ++ran_;
        ranForms_.insert({opIndex, numeric});
        const auto& marked = MarkedLines(opIndex, op, numeric);
        if (lines.size() != marked.size()) {
            Fault(where + ": " + std::to_string(lines.size()) + " lines run, " + std::to_string(marked.size()) +
                  " meant");
            return;
        }
        const std::map<WideText, WideText> texts = {
            {Widen936(numeric ? kNumberMarker : kNameMarker), Widen936(v.entry)},
            {Widen936(kAMarker), Widen936(v.a)},
            {Widen936(kBMarker), Widen936(v.b)},
            {Widen936(kTargetMarker), Widen936(v.target)},
            {Widen936(kToolMarker), Widen936(v.tool)},
        };
        const WideText words = op.rawA && !numeric ? Widen936(kAMarker) : WideText();
        for (size_t i = 0; i < lines.size(); ++i) {
            const Reading reading = ReadLine(lines[i]);
            if (!reading.safe) {
                Fault(where + ": the interpreter would see " + reading.problem + " in " + Shown(lines[i]));
                continue;
            }
            const std::vector<WideText> meant = SubstituteMarkers(marked[i], texts, words);
            if (reading.arguments != meant) {
                Fault(where + ": line " + Shown(lines[i]) + " gives " + ShowArguments(reading.arguments) + ", meant " +
                      ShowArguments(meant));
            }
        }
    }

    void Fault(const Text& message) {
        if (faults_.size() < 25)
            faults_.push_back(message);
        ++faultCount_;
    }

    std::map<std::pair<size_t, bool>, std::vector<std::vector<WideText>>> marked_;
    std::vector<Text> faults_;
    size_t faultCount_ = 0;
    size_t ran_ = 0;
    size_t refused_ = 0;
    std::set<std::pair<size_t, bool>> ranForms_;  // (operation, numeric form) that ran at least once
};

TEST_F(CommandLinePropertyTest, EveryLineIsRefusedOrCarriesExactlyItsArguments) {
    TextMaker maker;
    std::vector<Text> texts = {
        "",
        "12",
        "abc\\",
        "abc\\\\",
        "C:\\dir\\",
        "\\",
        "x\x95\x5C",
        "\xD5\x5C",
        "\x95\x5C\\",
        "a\xD5\x7C"
        "b",
        "x\xD5",
        "&mkdir PWNED&\xD5",
        "&echo INJECTED&",
        "a b&c (d) ^e |f| <g> @h !i!",
        " lead and trail ",
        "tab\there",
        "100%",
        "%PATH%",
        "%OS%",
        "%PATH:~0,3%",
        "%%",
        "a%%b%",
        "say \"hi\"",
        "C:\\My Backups\\x.bak",
    };
    // Around backslashes before a closing quote, a double-byte character whose second byte is a
    // backslash, and an operator.
    for (const Text& text : PercentInEveryPosition("a\\\xB1\xB8\x95\x5C&\\"))
        texts.push_back(text);
    for (int i = 0; i < 700; ++i)
        texts.push_back(maker.Make());
    for (int i = 0; i < 200; ++i)
        texts.push_back(maker.MakePath());
    for (int i = 0; i < 50; ++i)
        texts.push_back(maker.MakeDigits());

    // Fillers for the slots not under test: safe, but each with a trap of its own.
    const Values fillers[] = {
        {"box \\", "C:\\dir\\", "b\\c\\", "T\\1\\"},
        {"12", "\x95\x5C", "plain", "T1", "C:\\T&x (1)\\\xB1\xB8\\e.exe"},
    };
    const std::vector<Op> ops = Ops();
    for (size_t t = 0; t < texts.size(); ++t) {
        for (size_t k = 0; k < ops.size(); ++k) {
            const Op& op = ops[k];
            for (int bit : {kSlotEntry, kSlotA, kSlotB, kSlotTarget, kSlotTool}) {
                if (!(op.slots & bit))
                    continue;
                Values v = fillers[t % 2];
                (bit == kSlotEntry    ? v.entry
                 : bit == kSlotA      ? v.a
                 : bit == kSlotB      ? v.b
                 : bit == kSlotTarget ? v.target
                                  : v.tool) = texts[t];
                Check(k, op, v);
            }
            // Every slot but the tool's path from the generator at once.
            Check(k, op,
                  {texts[t], texts[(t + 1) % texts.size()], texts[(t + 7) % texts.size()],
                   texts[(t + 3) % texts.size()]});
        }
    }
    Text report;
    for (const Text& f : faults_)
        report += f + "\n";
    EXPECT_EQ(faultCount_, 0u) << report;
    // Both sides of the property were exercised, and every operation ran in each of its forms.
    EXPECT_GT(ran_, 10000u);
    EXPECT_GT(refused_, 10000u);
    for (size_t k = 0; k < ops.size(); ++k) {
        EXPECT_TRUE(ranForms_.count({k, false})) << ops[k].name;
        if (ops[k].slots & kSlotEntry) {
            EXPECT_TRUE(ranForms_.count({k, true})) << ops[k].name << " in the numeric form";
        }
    }
}

}  // namespace
