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

enum SlotBit { kEntry = 1, kA = 2, kB = 4, kTarget = 8, kTool = 16 };

struct Values {
    Text entry, a, b, target;
    Text tool = "C:\\Program Files (x86)\\Entry Tool\\bin\\entryctl.exe";  // ToolPath, from the registry
};

struct Op {
    const char* name;
    int slots;
    std::function<void(ToolCommands&, const Values&)> call;
    // SendOptions: in the name form its a and b stand outside quotes; `rawA` says a is the raw part.
    bool sendOptions = false;
    bool rawA = false;
};

std::vector<Op> Ops() {
    using T = ToolCommands&;
    using V = const Values&;
    std::vector<Op> ops = {
        {"Command02", kEntry | kA, [](T t, V v) { t.Command02(v.entry, v.a); }},
        {"SendOptions raw", kEntry | kA, [](T t, V v) { t.SendOptions(v.entry, v.a); }, true, true},
        {"SendOptions options", kEntry | kA | kB,
         [](T t, V v) {
             OptionValues options;
             options[0] = v.a;
             options[6] = v.b;
             t.SendOptions(v.entry, std::nullopt, options);
         },
         true},
        {"CaptureRows", kEntry,
         [](T t, V v) {
             RowArray rows;
             t.CaptureRows(v.entry, rows);
         }},
        {"PointAt", kEntry, [](T t, V v) { t.PointAt(v.entry, 10, -20); }},
        {"Command07", kEntry | kA, [](T t, V v) { t.Command07(v.entry, v.a); }},
        {"Command08", kEntry, [](T t, V v) { t.Command08(v.entry, 1, 2, 3, 4, 5); }},
        {"Command09", kEntry, [](T t, V v) { t.Command09(v.entry); }},
        {"Command10", kEntry, [](T t, V v) { t.Command10(v.entry); }},
        {"QueryText", kEntry | kA, [](T t, V v) { t.QueryText(v.entry, v.a); }},
        {"Command15", kEntry, [](T t, V v) { t.Command15(v.entry); }},
        {"Command16", kEntry | kA | kB, [](T t, V v) { t.Command16(v.entry, v.a, v.b); }},
        {"Command17", kEntry | kA | kB, [](T t, V v) { t.Command17(v.entry, v.a, v.b); }},
        {"Command18", kEntry, [](T t, V v) { t.Command18(v.entry); }},
        {"Command19", kEntry, [](T t, V v) { t.Command19(v.entry); }},
        {"Command20", kEntry | kA | kB, [](T t, V v) { t.Command20(v.entry, v.a, v.b); }},
        {"Command21", kEntry, [](T t, V v) { t.Command21(v.entry); }},
        {"Command22", kEntry, [](T t, V v) { t.Command22(v.entry); }},
        {"CreateEntry", kEntry, [](T t, V v) { t.CreateEntry(v.entry, 3); }},
        {"Command25", kEntry | kA, [](T t, V v) { t.Command25(v.entry, v.a); }},
        {"Command26", kEntry, [](T t, V v) { t.Command26(v.entry); }},
        {"Command27", kEntry | kA, [](T t, V v) { t.Command27(v.entry, v.a); }},
        {"Command28", kEntry | kA, [](T t, V v) { t.Command28(v.entry, v.a); }},
        {"Command29", kEntry | kA, [](T t, V v) { t.Command29(v.entry, v.a); }},
        {"Command30", kEntry | kA, [](T t, V v) { t.Command30(v.entry, v.a); }},
        {"Command31", kEntry | kA | kB, [](T t, V v) { t.Command31(v.entry, v.a, v.b); }},
        {"Command32", kEntry | kA, [](T t, V v) { t.Command32(v.entry, v.a); }},
        {"Command33", kEntry, [](T t, V v) { t.Command33(v.entry); }},
        {"Command34", kEntry | kA, [](T t, V v) { t.Command34(v.entry, v.a); }},
        {"Command35", kEntry | kA | kB, [](T t, V v) { t.Command35(v.entry, v.a, v.b); }},
        {"BackupEntry", kEntry | kA, [](T t, V v) { t.BackupEntry(v.entry, v.a); }},
        {"RestoreEntry", kEntry | kA, [](T t, V v) { t.RestoreEntry(v.entry, v.a); }},
        {"Command38", kEntry, [](T t, V v) { t.Command38(v.entry); }},
        {"Command39", kEntry, [](T t, V v) { t.Command39(v.entry); }},
        {"Command40", kEntry | kA, [](T t, V v) { t.Command40(v.entry, v.a); }},
        {"Command41", kEntry | kA, [](T t, V v) { t.Command41(v.entry, v.a); }},
        {"Command42", kEntry | kA | kB, [](T t, V v) { t.Command42(v.entry, v.a, v.b); }},
        {"Command43", kEntry | kA, [](T t, V v) { t.Command43(v.entry, v.a); }},
    };
    // The target commands: the tool's path, the selected target, and their own texts.
    auto target = [&](const char* name, int slots, std::function<void(ToolLink&, const Values&)> call) {
        ops.push_back({name, kTool | slots, [call](T t, V v) {
                           SetToolPath(v.tool);
                           SetTargetId(v.target);
                           call(t.Link(), v);
                       }});
    };
    using L = ToolLink&;
    const int kT = kTarget;
    target("target listing", 0, [](L l, V) { l.ListTargets(); });
    target("target 27", 0, [](L l, V) { l.Command27(); });
    target("target 1", kT | kA, [](L l, V v) { l.Command01(v.a); });
    target("target 2", kT | kA, [](L l, V v) { l.Command02(v.a); });
    target("target 3", kT | kA | kB, [](L l, V v) { l.Command03(v.a, v.b); });
    target("target 4", kT | kA | kB, [](L l, V v) { l.Command04(v.a, v.b); });
    target("target 5", kT, [](L l, V) {
        TextArray out;
        l.Command05(out);
    });
    target("target 6", kT, [](L l, V) {
        TextArray out;
        l.Command06(out);
    });
    target("target 7", kT | kA, [](L l, V v) { l.Command07(v.a); });
    target("target 8", kT | kA, [](L l, V v) { l.Command08(v.a); });
    target("target 9", kT | kA | kB, [](L l, V v) { l.Command09(v.a, v.b); });
    target("target 10", kT | kA, [](L l, V v) { l.Command10(v.a); });
    target("target 11", kT | kA, [](L l, V v) { l.Command11(v.a); });
    target("target 12", kT | kA, [](L l, V v) { l.Command12(v.a); });
    target("target 13", kT, [](L l, V) { l.Command13(1, -2); });
    target("target 14", kT, [](L l, V) { l.Command14(1, 2, 3, 4, 5); });
    target("target 15", kT | kA, [](L l, V v) { l.Command15(v.a); });
    target("target 16", kT | kA, [](L l, V v) { l.Command16(v.a); });
    target("target 17", kT | kA, [](L l, V v) { l.Command17(v.a); });
    target("target 18", kT | kA, [](L l, V v) { l.Command18(v.a); });
    target("target 19", kT | kA, [](L l, V v) { l.Command19(v.a); });
    target("target 20", kT, [](L l, V) { l.Command20(nullptr); });
    target("target 21", kT, [](L l, V) { l.Command21(); });
    target("target 22", kT | kA, [](L l, V v) { l.Command22(v.a, nullptr); });
    target("target 23", kT | kA, [](L l, V v) { l.Command23(v.a, nullptr); });
    target("target 24", kT | kA, [](L l, V v) { l.Command24(v.a); });
    target("target 25", kT, [](L l, V) { l.Command25(); });
    target("target 26", kT, [](L l, V) { l.Command26(); });
    return ops;
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
        const bool numeric = (op.slots & kEntry) && IsAllDigits(v.entry);
        bool refuse = false;
        for (auto [bit, text] :
             {std::pair{kEntry, &v.entry}, {kA, &v.a}, {kB, &v.b}, {kTarget, &v.target}, {kTool, &v.tool}}) {
            // The tool's path and a raw part are placed as they stand, and so, for percent signs, are
            // option values outside quotes; every other text is an argument inside quotes.
            const bool asItStands = bit == kTool || (bit == kA && op.rawA) ||
                                    (op.sendOptions && !numeric && (bit == kA || bit == kB));
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
            for (int bit : {kEntry, kA, kB, kTarget, kTool}) {
                if (!(op.slots & bit))
                    continue;
                Values v = fillers[t % 2];
                (bit == kEntry    ? v.entry
                 : bit == kA      ? v.a
                 : bit == kB      ? v.b
                 : bit == kTarget ? v.target
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
        if (ops[k].slots & kEntry) {
            EXPECT_TRUE(ranForms_.count({k, true})) << ops[k].name << " in the numeric form";
        }
    }
}

}  // namespace
