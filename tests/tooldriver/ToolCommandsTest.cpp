// The command class through a recording runner: the lines every operation builds in each form,
// how each kind of output is judged, and which arguments are refused before the tool starts.

#include "tooldriver/ToolCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tests/tooldriver/ToolCommandsFake.h"
#include "toollink/portable/ToolLocation.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

// Arguments that hold the command interpreter's operators and double-byte text: inside quotes
// they must reach the line untouched.
const Text kA = "a b&c";
const Text kB = "(x)^y \xCC\xF5\xC4\xBF";  // ends with two GBK characters

Text P(bool numeric) {
    return numeric ? kEntryPrefixNumber : kEntryPrefixName;
}

Text F(bool numeric, const char* number, const char* name) {
    return numeric ? number : name;
}

Text Concat(std::initializer_list<Text> pieces) {
    Text line;
    for (const Text& piece : pieces)
        line += piece;
    return line;
}

using ToolCommandsTest = ToolCommandsWithFake;

TEST(IsAllDigitsTest, OnlyANonEmptyRunOfAsciiDigitsIsANumber) {
    struct Case {
        const char* name;
        Text entry;
        bool expected;
    } cases[] = {
        {"digits", "12", true},
        {"leading zeros", "007", true},
        {"single zero", "0", true},
        {"empty", "", false},
        {"digits then letter", "12a", false},
        {"leading space", " 12", false},
        {"trailing space", "12 ", false},
        {"minus sign", "-1", false},
        {"plus sign", "+1", false},
        {"full-width digits", "\xA3\xB1\xA3\xB2", false},
        {"byte above 0x80 after digits", "1\xB0", false},
        {"colon just above nine", "1:", false},
        {"slash just below zero", "1/", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsAllDigits(c.entry), c.expected);
    }
}

// The entries of the table below and the form each must choose.
struct EntryForm {
    const char* name;
    Text entry;
    bool numeric;
};
const EntryForm kEntries[] = {
    {"digits", "12", true},
    {"digits then letter", "12a", false},
    {"leading space", " 12", false},
    {"minus one", "-1", false},
    {"empty", "", false},
    {"double-byte name", "\xCC\xF5\xC4\xBF 1", false},
};

struct ShapeCase {
    const char* name;
    std::function<void(const ToolCommands&, const Text& entry)> call;
    std::function<TextArray(bool numeric, const Text& entry)> lines;
};

std::vector<ShapeCase> ShapeCases() {
    const Text M = kPathMark;
    const Text S = kArgSep;
    return {
        {"Command02", [](const ToolCommands& t, const Text& e) { t.Command02(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand02TextNumber, kCommand02TextName), kA, M})};
         }},
        {"PointAt", [](const ToolCommands& t, const Text& e) { t.PointAt(e, 10, -5); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kPointAtTextNumber, kPointAtTextName), "10", S, "-5", M})};
         }},
        {"Command07", [](const ToolCommands& t, const Text& e) { t.Command07(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand07TextNumber, kCommand07TextName), kA, kCommand07Tail})};
         }},
        {"Command08 four numbers", [](const ToolCommands& t, const Text& e) { t.Command08(e, 1, -2, 30, 400); },
         [=](bool n, const Text& e) {
             return TextArray{Concat(
                 {P(n), e, F(n, kCommand08TextNumber, kCommand08TextName), "1", S, "-2", S, "30", S, "400", M})};
         }},
        {"Command08 fifth number zero", [](const ToolCommands& t, const Text& e) { t.Command08(e, 1, 2, 3, 4, 0); },
         [=](bool n, const Text& e) {
             return TextArray{Concat(
                 {P(n), e, F(n, kCommand08TextNumber, kCommand08TextName), "1", S, "2", S, "3", S, "4", S, "0", M})};
         }},
        {"Command09", [](const ToolCommands& t, const Text& e) { t.Command09(e); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand09TextNumber, kCommand09TextName), "164", M})};
         }},
        {"Command10", [](const ToolCommands& t, const Text& e) { t.Command10(e); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand09TextNumber, kCommand09TextName), "4", M})};
         }},
        {"QueryText", [](const ToolCommands& t, const Text& e) { t.QueryText(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kQueryTextTextNumber, kQueryTextTextName), kA, M})};
         }},
        {"Command15", [](const ToolCommands& t, const Text& e) { t.Command15(e); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand09TextNumber, kCommand09TextName), "3", M})};
         }},
        {"Command16", [](const ToolCommands& t, const Text& e) { t.Command16(e, kA, kB); },
         [=](bool n, const Text& e) {
             return TextArray{
                 Concat({P(n), e, F(n, kCommand16TextNumber, kCommand16TextName), kA, kCommand16Mid, kB, M})};
         }},
        {"Command17", [](const ToolCommands& t, const Text& e) { t.Command17(e, kA, kB); },
         [=](bool n, const Text& e) {
             return TextArray{
                 Concat({P(n), e, F(n, kCommand17Text1Number, kCommand17Text1Name), kA, kCommand17Mid, kB, M}),
                 Concat({P(n), e, F(n, kCommand17Text2Number, kCommand17Text2Name), kA, kCommand17Mid, kB, M})};
         }},
        {"Command18", [](const ToolCommands& t, const Text& e) { t.Command18(e); },
         [=](bool n, const Text& e) {
             TextArray lines;
             for (int k = 0; k < 6; ++k)
                 lines.push_back(Concat({P(n), e, F(n, kCommand18TextsNumber[k], kCommand18TextsName[k])}));
             return lines;
         }},
        {"Command19", [](const ToolCommands& t, const Text& e) { t.Command19(e); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kCommand19LeadNumber, kCommand19LeadName), e,
                                      F(n, kCommand19TextNumber, kCommand19TextName)})};
         }},
        {"Command20", [](const ToolCommands& t, const Text& e) { t.Command20(e, kA, kB); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand20TextNumber, kCommand20TextName), kA, kMid9, kB, M})};
         }},
        {"Command21", [](const ToolCommands& t, const Text& e) { t.Command21(e); },
         [=](bool n, const Text& e) {
             return TextArray{n ? Concat({kCommand21LeadNumber, e}) : Concat({kCommand21LeadName, e, M})};
         }},
        {"Command22", [](const ToolCommands& t, const Text& e) { t.Command22(e); },
         [=](bool n, const Text& e) {
             return TextArray{n ? Concat({kCommand22LeadNumber, e}) : Concat({kCommand22LeadName, e, M})};
         }},
        {"Command25 (one form)", [](const ToolCommands& t, const Text& e) { t.Command25(e, kA); },
         [=](bool, const Text& e) { return TextArray{Concat({kCommand25Lead, kA, kCommand25Text, e, M})}; }},
        {"Command26", [](const ToolCommands& t, const Text& e) { t.Command26(e); },
         [=](bool n, const Text& e) {
             return TextArray{n ? Concat({kCommand26LeadNumber, e}) : Concat({kCommand26LeadName, e, M})};
         }},
        {"Command27", [](const ToolCommands& t, const Text& e) { t.Command27(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kCommand27LeadNumber, kCommand27LeadName), e,
                                      F(n, kCommand27TextNumber, kCommand27TextName), kA, M})};
         }},
        {"Command28", [](const ToolCommands& t, const Text& e) { t.Command28(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kCommand28LeadNumber, kCommand28LeadName), e,
                                      F(n, kCommand28TextNumber, kCommand28TextName), kA})};
         }},
        {"Command29", [](const ToolCommands& t, const Text& e) { t.Command29(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kCommand29LeadNumber, kCommand29LeadName), e,
                                      F(n, kCommand29TextNumber, kCommand29TextName), kA})};
         }},
        {"Command30", [](const ToolCommands& t, const Text& e) { t.Command30(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kCommand30LeadNumber, kCommand30LeadName), e,
                                      F(n, kCommand30TextNumber, kCommand30TextName), kA})};
         }},
        {"Command31", [](const ToolCommands& t, const Text& e) { t.Command31(e, kA, kB); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kCommand31LeadNumber, kCommand31LeadName), e,
                                      F(n, kCommand31TextNumber, kCommand31TextName), kA, kCommand31Mid, kB})};
         }},
        {"Command32", [](const ToolCommands& t, const Text& e) { t.Command32(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kCommand32LeadNumber, kCommand32LeadName), e,
                                      F(n, kCommand32TextNumber, kCommand32TextName), kA})};
         }},
        {"Command33", [](const ToolCommands& t, const Text& e) { t.Command33(e); },
         [=](bool n, const Text& e) {
             return TextArray{n ? Concat({kCommand33LeadNumber, e}) : Concat({kCommand33LeadName, e, M})};
         }},
        {"Command34", [](const ToolCommands& t, const Text& e) { t.Command34(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kCommand34LeadNumber, kCommand34LeadName), e,
                                      F(n, kCommand34TextNumber, kCommand34TextName), kA, M})};
         }},
        {"Command35", [](const ToolCommands& t, const Text& e) { t.Command35(e, kA, kB); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kCommand35LeadNumber, kCommand35LeadName), e,
                                      F(n, kCommand35TextNumber, kCommand35TextName), kA, kCommand35Mid, kB})};
         }},
        {"BackupEntry", [](const ToolCommands& t, const Text& e) { t.BackupEntry(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kBackupEntryLeadNumber, kBackupEntryLeadName), e,
                                      F(n, kBackupEntryTextNumber, kBackupEntryTextName), kA, M})};
         }},
        {"RestoreEntry", [](const ToolCommands& t, const Text& e) { t.RestoreEntry(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({F(n, kRestoreEntryLeadNumber, kRestoreEntryLeadName), e,
                                      F(n, kRestoreEntryTextNumber, kRestoreEntryTextName), kA, M})};
         }},
        {"Command38", [](const ToolCommands& t, const Text& e) { t.Command38(e); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand38TextNumber, kCommand38TextName)})};
         }},
        {"Command39", [](const ToolCommands& t, const Text& e) { t.Command39(e); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand39TextNumber, kCommand39TextName)})};
         }},
        {"Command40", [](const ToolCommands& t, const Text& e) { t.Command40(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand40TextNumber, kCommand40TextName), kA, M})};
         }},
        {"Command41", [](const ToolCommands& t, const Text& e) { t.Command41(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand41TextNumber, kCommand41TextName), kA, M})};
         }},
        {"Command42", [](const ToolCommands& t, const Text& e) { t.Command42(e, kA, kB); },
         [=](bool n, const Text& e) {
             const Text t = F(n, kCommand42TextNumber, kCommand42TextName);
             return TextArray{Concat({P(n), e, t, kA, M}), Concat({P(n), e, t, kB, M})};
         }},
        {"Command43", [](const ToolCommands& t, const Text& e) { t.Command43(e, kA); },
         [=](bool n, const Text& e) {
             return TextArray{Concat({P(n), e, F(n, kCommand43TextNumber, kCommand43TextName), kA, M})};
         }},
    };
}

TEST_F(ToolCommandsTest, EveryOperationBuildsTheLinesOfTheEntrysFormInTheToolsFolder) {
    for (const ShapeCase& op : ShapeCases()) {
        for (const EntryForm& form : kEntries) {
            SCOPED_TRACE(Text(op.name) + " / " + form.name);
            fake_.Clear();
            op.call(Commands(), form.entry);
            EXPECT_EQ(fake_.Lines(), op.lines(form.numeric, form.entry));
            for (const RecordedCall& call : fake_.Calls()) {
                EXPECT_TRUE(EqualsIgnoreCase(call.currentDirectory, toolDir_.Path())) << call.currentDirectory;
                EXPECT_FALSE(call.hadObserver);
                EXPECT_FALSE(call.notifyChunks);
            }
        }
    }
}

TEST_F(ToolCommandsTest, Command23RunsItsFixedLineEveryTime) {
    EXPECT_TRUE(Commands().Command23());
    EXPECT_TRUE(Commands().Command23());
    EXPECT_EQ(fake_.Lines(), (TextArray{kCommand23Line, kCommand23Line}));
}

TEST_F(ToolCommandsTest, MultiLineCommandsRunEveryLineWhateverTheToolAnswers) {
    // Each line fails as loudly as the tool can; the following lines run all the same.
    fake_.answer = [](const Text&) { return Text(kErrorMarker) + " entry is locked\r\n"; };
    struct Case {
        const char* name;
        std::function<bool(const ToolCommands&)> call;
        size_t lines;
    } cases[] = {
        {"Command17", [](const ToolCommands& t) { return t.Command17("box", kA, kB); }, 2},
        {"Command18", [](const ToolCommands& t) { return t.Command18("12"); }, 6},
        {"Command42", [](const ToolCommands& t) { return t.Command42("box", kA, kB); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_.Clear();
        EXPECT_TRUE(c.call(Commands()));
        EXPECT_EQ(fake_.Lines().size(), c.lines);
    }
}

TEST_F(ToolCommandsTest, ReturnedOutputIsTheToolsWholeOutput) {
    const Text output = "  first line\r\nsecond \xCC\xF5\r\n\r\n";
    fake_.answer = [&](const Text&) { return output; };
    EXPECT_EQ(Commands().QueryText("12", kA), output);
    EXPECT_EQ(Commands().Command32("box", kA), output);
    fake_.answer = [](const Text&) { return Text(); };
    EXPECT_EQ(Commands().QueryText("box", kA), "");
}

TEST_F(ToolCommandsTest, OwnMarkerVerdictsNeedTheMarkerExactly) {
    struct Op {
        const char* name;
        std::function<bool(const ToolCommands&, const Text& entry)> call;
        Text marker;
    } ops[] = {
        {"Command19", [](const ToolCommands& t, const Text& e) { return t.Command19(e); }, kCommand19Marker},
        {"Command25", [](const ToolCommands& t, const Text& e) { return t.Command25(e, kA); }, kCommand25Marker},
        {"RestoreEntry", [](const ToolCommands& t, const Text& e) { return t.RestoreEntry(e, "C:\\b\\x.bak"); },
         kRestoreMarker},
    };
    for (const Op& op : ops) {
        struct Output {
            Text name;
            Text text;
            bool expected;
        };
        std::vector<Output> outputs = {
            {"marker inside other text", "note\r\nxx" + op.marker + "yy\r\n", true},
            {"marker alone", op.marker, true},
            {"tool not started", "", false},
            {"other text", "nothing done\r\n", false},
            {"marker cut short", op.marker.substr(0, op.marker.size() - 1), false},
        };
        Text capitals = op.marker;
        for (char& c : capitals)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        if (capitals != op.marker)
            outputs.push_back({"marker in capitals", capitals, false});
        for (const Output& out : outputs) {
            for (const Text entry : {"12", "box"}) {
                SCOPED_TRACE(Text(op.name) + " / " + out.name + " / " + entry);
                fake_.answer = [&](const Text&) { return out.text; };
                EXPECT_EQ(op.call(Commands(), entry), out.expected);
            }
        }
    }
}

TEST_F(ToolCommandsTest, ErrorRuleTrustsNumbersAndReadsTheOutputForNames) {
    using Call = std::function<bool(const ToolCommands&, const Text& entry)>;
    struct Op {
        const char* name;
        Call call;
    } ops[] = {
        {"Command21", [](const ToolCommands& t, const Text& e) { return t.Command21(e); }},
        {"Command22", [](const ToolCommands& t, const Text& e) { return t.Command22(e); }},
        {"Command26", [](const ToolCommands& t, const Text& e) { return t.Command26(e); }},
        {"Command33", [](const ToolCommands& t, const Text& e) { return t.Command33(e); }},
        {"Command34", [](const ToolCommands& t, const Text& e) { return t.Command34(e, kA); }},
    };
    struct Case {
        const char* name;
        Text entry;
        Text output;
        bool expected;
    } cases[] = {
        {"number, tool reports an error", "12", Text(kErrorMarker) + " no such entry\r\n", true},
        {"number, tool says nothing", "12", "", true},
        {"name, tool reports an error", "box", Text("line one\r\n") + kErrorMarker + " no such entry\r\n", false},
        {"name, tool is content", "box", "done\r\n", true},
        // A tool that cannot be started prints nothing; the tool always answers when it ran.
        {"name, tool says nothing", "box", "", false},
        {"digits then letter count as a name", "12a", Text(kErrorMarker) + "\r\n", false},
    };
    for (const Op& op : ops) {
        for (const Case& c : cases) {
            SCOPED_TRACE(Text(op.name) + " / " + c.name);
            fake_.answer = [&](const Text&) { return c.output; };
            EXPECT_EQ(op.call(Commands(), c.entry), c.expected);
        }
    }
}

// One operation reduced to a comparable result: bools, numbers and texts as text.
struct RefusalOp {
    const char* name;
    int textArguments;  // how many of a, b the operation takes
    std::function<Text(const ToolCommands&, const Text& e, const Text& a, const Text& b)> call;
    Text failure;
};

Text Shown(bool value) {
    return value ? "true" : "false";
}
Text Shown(int32_t value) {
    return std::to_string(value);
}
Text Shown(const Text& value) {
    return "text:" + value;
}

std::vector<RefusalOp> RefusalOps() {
    using T = const ToolCommands&;
    using X = const Text&;
    return {
        {"Command02", 1, [](T t, X e, X a, X) { return Shown(t.Command02(e, a)); }, "false"},
        {"SendOptions raw", 1, [](T t, X e, X a, X) { return Shown(t.SendOptions(e, a)); }, "text:"},
        {"SendOptions option", 1,
         [](T t, X e, X a, X) {
             OptionValues options;
             options[6] = a;
             return Shown(t.SendOptions(e, std::nullopt, options));
         },
         "text:"},
        {"PointAt", 0, [](T t, X e, X, X) { return Shown(t.PointAt(e, 1, 2)); }, "false"},
        {"Command07", 1, [](T t, X e, X a, X) { return Shown(t.Command07(e, a)); }, "false"},
        {"Command08", 0, [](T t, X e, X, X) { return Shown(t.Command08(e, 1, 2, 3, 4, 5)); }, "false"},
        {"Command09", 0, [](T t, X e, X, X) { return Shown(t.Command09(e)); }, "false"},
        {"Command10", 0, [](T t, X e, X, X) { return Shown(t.Command10(e)); }, "false"},
        {"QueryText", 1, [](T t, X e, X a, X) { return Shown(t.QueryText(e, a)); }, "text:"},
        {"Command15", 0, [](T t, X e, X, X) { return Shown(t.Command15(e)); }, "false"},
        {"Command16", 2, [](T t, X e, X a, X b) { return Shown(t.Command16(e, a, b)); }, "false"},
        {"Command17", 2, [](T t, X e, X a, X b) { return Shown(t.Command17(e, a, b)); }, "false"},
        {"Command18", 0, [](T t, X e, X, X) { return Shown(t.Command18(e)); }, "false"},
        {"Command19", 0, [](T t, X e, X, X) { return Shown(t.Command19(e)); }, "false"},
        {"Command20", 2, [](T t, X e, X a, X b) { return Shown(t.Command20(e, a, b)); }, "false"},
        {"Command21", 0, [](T t, X e, X, X) { return Shown(t.Command21(e)); }, "false"},
        {"Command22", 0, [](T t, X e, X, X) { return Shown(t.Command22(e)); }, "false"},
        {"CreateEntry", 0, [](T t, X e, X, X) { return Shown(t.CreateEntry(e, 3)); }, "-1"},
        {"Command25", 1, [](T t, X e, X a, X) { return Shown(t.Command25(e, a)); }, "false"},
        {"Command26", 0, [](T t, X e, X, X) { return Shown(t.Command26(e)); }, "false"},
        {"Command27", 1, [](T t, X e, X a, X) { return Shown(t.Command27(e, a)); }, "false"},
        {"Command28", 1, [](T t, X e, X a, X) { return Shown(t.Command28(e, a)); }, "false"},
        {"Command29", 1, [](T t, X e, X a, X) { return Shown(t.Command29(e, a)); }, "false"},
        {"Command30", 1, [](T t, X e, X a, X) { return Shown(t.Command30(e, a)); }, "false"},
        {"Command31", 2, [](T t, X e, X a, X b) { return Shown(t.Command31(e, a, b)); }, "false"},
        {"Command32", 1, [](T t, X e, X a, X) { return Shown(t.Command32(e, a)); }, "text:"},
        {"Command33", 0, [](T t, X e, X, X) { return Shown(t.Command33(e)); }, "false"},
        {"Command34", 1, [](T t, X e, X a, X) { return Shown(t.Command34(e, a)); }, "false"},
        {"Command35", 2, [](T t, X e, X a, X b) { return Shown(t.Command35(e, a, b)); }, "false"},
        {"BackupEntry", 1, [](T t, X e, X a, X) { return Shown(t.BackupEntry(e, a)); }, "false"},
        {"RestoreEntry", 1, [](T t, X e, X a, X) { return Shown(t.RestoreEntry(e, a)); }, "false"},
        {"Command38", 0, [](T t, X e, X, X) { return Shown(t.Command38(e)); }, "false"},
        {"Command39", 0, [](T t, X e, X, X) { return Shown(t.Command39(e)); }, "false"},
        {"Command40", 1, [](T t, X e, X a, X) { return Shown(t.Command40(e, a)); }, "false"},
        {"Command41", 1, [](T t, X e, X a, X) { return Shown(t.Command41(e, a)); }, "false"},
        {"Command42", 2, [](T t, X e, X a, X b) { return Shown(t.Command42(e, a, b)); }, "false"},
        {"Command43", 1, [](T t, X e, X a, X) { return Shown(t.Command43(e, a)); }, "false"},
    };
}

TEST_F(ToolCommandsTest, UnsafeEntryOrArgumentNeverReachesTheTool) {
    struct Unsafe {
        const char* name;
        Text text;
    } unsafe[] = {
        {"double quote", "My \"box\""},
        {"lone lead byte", "box\xD5"},
        {"carriage return", "box\rdel x"},
        {"line feed", "box\nformat"},
        {"zero byte", Text("box\0tail", 8)},
    };
    // The tool would answer every line with every marker, so a verdict could only come out true
    // if the tool had been started.
    fake_.answer = [](const Text&) {
        return Text(kCommand19Marker) + kCommand25Marker + kRestoreMarker + kCreateMarker + " 5\r\n";
    };
    const Text safe = "fine";
    for (const RefusalOp& op : RefusalOps()) {
        // Safe arguments run: the refusals below are caused by the one unsafe text alone.
        fake_.Clear();
        op.call(Commands(), "box", safe, safe);
        ASSERT_FALSE(fake_.Calls().empty()) << op.name;
        for (const Unsafe& u : unsafe) {
            struct Where {
                const char* name;
                Text e, a, b;
            };
            std::vector<Where> places = {{"entry", u.text, safe, safe}};
            // A numeric entry: a verdict of the error rule must not come out true by itself.
            if (op.textArguments >= 1)
                places.push_back({"first argument", "12", u.text, safe});
            if (op.textArguments >= 2)
                places.push_back({"second argument", "12", safe, u.text});
            for (const Where& w : places) {
                SCOPED_TRACE(Text(op.name) + " / " + u.name + " in " + w.name);
                fake_.Clear();
                EXPECT_EQ(op.call(Commands(), w.e, w.a, w.b), op.failure);
                EXPECT_TRUE(fake_.Calls().empty());
            }
        }
    }
}

TEST_F(ToolCommandsTest, ACopyRunsThroughTheSameRunnerWithoutRunningAnythingItself) {
    ToolCommands copy(Commands());
    EXPECT_TRUE(fake_.Calls().empty());
    copy.Command38("12");
    EXPECT_EQ(fake_.Lines(), (TextArray{Concat({kEntryPrefixNumber, "12", kCommand38TextNumber})}));
}

TEST(ToolCommandsConstructionTest, MemberLinkIsBuiltFirstAndSharesTheRunner) {
    // With the tool's program known, the link's construction lists the tool's targets once,
    // through the runner given to the command object, in the tool's folder.
    ScratchFolder toolDir;
    const Text program = toolDir.File("entryctl.exe");
    ASSERT_TRUE(WriteWholeFile(program, "MZ"));
    ClearToolLocation();
    SetToolDir(toolDir.Path());
    SetToolPath(program);
    FakeToolRunner fake;
    {
        ToolCommands commands(fake.Runner());
        const std::vector<RecordedCall> calls = fake.Calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].line.rfind(Text(kPathMark) + program, 0), 0u) << calls[0].line;
        EXPECT_TRUE(EqualsIgnoreCase(calls[0].currentDirectory, toolDir.Path()));
    }
    ::SetCurrentDirectoryA(BuiltProgramFolder().c_str());
    ClearToolLocation();
}

}  // namespace
