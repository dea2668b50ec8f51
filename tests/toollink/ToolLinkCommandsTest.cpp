// The target commands and the listing of targets, driven through a runner that records every
// line instead of starting the tool.

#include "toollink/ToolLink.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "common/portable/SharedTexts.h"
#include "tests/support/TestPaths.h"
#include "toollink/portable/ToolLocation.h"
#include "toollink/portable/vocabulary/TargetCommandTexts.h"

namespace {

const Text kToolPath = "C:\\Tool\\bin\\entryctl.exe";

struct RecordedCall {
    Text line;
    const ChunkObserver* observer;
    bool notifyChunks;
    Text directory;  // the current directory when the line ran
};

Text Upper(Text text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

class ToolLinkCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearToolLocation();
        link_ = std::make_unique<ToolLink>([this](const Text& line, const ChunkObserver* observer, bool notify) {
            calls_.push_back({line, observer, notify, CurrentDirectory()});
            return reply_;
        });
        calls_.clear();
        SetToolDir(toolDir_.Path());
        SetToolPath(kToolPath);
        SetTargetId("T1");
    }

    void TearDown() override {
        SetCurrentDirectoryA(BuiltProgramFolder().c_str());  // lets the scratch folder go
        ClearToolLocation();
    }

    ScratchFolder toolDir_;
    std::unique_ptr<ToolLink> link_;
    std::vector<RecordedCall> calls_;
    Text reply_;
    const ChunkObserver observer_ = [](const Text&, int, int) { return 0; };
};

struct LineCase {
    const char* name;
    std::function<void(ToolLink&, const ChunkObserver*)> call;
    Text ownParts;  // what follows TargetId (or, for the untargeted command, ToolPath)
    bool targeted = true;
    bool observed = false;
};

std::vector<LineCase> AllCommandLines() {
    const Text M = kPathMark;
    const Text S = kArgSep;
    return {
        {"1", [](ToolLink& l, auto) { l.Command01("a1"); }, kVerb1 + Text("a1") + M},
        {"2", [](ToolLink& l, auto) { l.Command02("a2"); }, kVerb2 + Text("a2")},
        {"3", [](ToolLink& l, auto) { l.Command03("a3", "b3"); }, kVerb3 + Text("a3") + kMid3 + "b3"},
        {"4", [](ToolLink& l, auto) { l.Command04("a4", "b4"); }, kVerb4 + Text("a4") + kMid4 + "b4" + M},
        {"5", [](ToolLink& l, auto) { TextArray out; l.Command05(out); }, kVerb5},
        {"6", [](ToolLink& l, auto) { TextArray out; l.Command06(out); }, kVerb6},
        {"7", [](ToolLink& l, auto) { l.Command07("a7"); }, kVerb7 + Text("a7")},
        {"8", [](ToolLink& l, auto) { l.Command08("a8"); }, kVerb8 + Text("a8")},
        {"9", [](ToolLink& l, auto) { l.Command09("a9", "b9"); }, kVerb9 + Text("a9") + kMid9 + "b9"},
        {"10", [](ToolLink& l, auto) { l.Command10("a10"); }, kVerb10 + Text("a10")},
        {"11", [](ToolLink& l, auto) { l.Command11("a11"); }, kVerb11 + Text("a11")},
        {"12", [](ToolLink& l, auto) { l.Command12("a12"); }, kVerb12 + Text("a12")},
        {"13", [](ToolLink& l, auto) { l.Command13(10, -20); }, kVerb13 + Text("10") + S + "-20"},
        {"14 four numbers", [](ToolLink& l, auto) { l.Command14(1, -2, 30, 400); },
         kVerb14 + Text("1") + S + "-2" + S + "30" + S + "400"},
        {"14 five numbers", [](ToolLink& l, auto) { l.Command14(1, -2, 30, 400, 0); },
         kVerb14 + Text("1") + S + "-2" + S + "30" + S + "400" + S + "0"},
        {"15", [](ToolLink& l, auto) { l.Command15("a15"); }, kVerb15 + Text("a15")},
        {"16", [](ToolLink& l, auto) { l.Command16("a16"); }, kVerb16 + Text("a16")},
        {"17", [](ToolLink& l, auto) { l.Command17("a17"); }, kVerb17 + Text("a17")},
        {"18", [](ToolLink& l, auto) { l.Command18("a18"); }, kVerb18 + Text("a18")},
        {"19", [](ToolLink& l, auto) { l.Command19("a19"); }, kVerb19 + Text("a19")},
        {"20", [](ToolLink& l, const ChunkObserver* o) { l.Command20(o); }, kVerb20, true, true},
        {"21", [](ToolLink& l, auto) { l.Command21(); }, kVerb21},
        {"22", [](ToolLink& l, const ChunkObserver* o) { l.Command22("a22", o); }, kVerb22 + Text("a22"), true, true},
        {"23", [](ToolLink& l, const ChunkObserver* o) { l.Command23("a23", o); }, kVerb23 + Text("a23"), true, true},
        {"24", [](ToolLink& l, auto) { l.Command24("a24"); }, kVerb24 + Text("a24")},
        {"25", [](ToolLink& l, auto) { l.Command25(); }, kVerb25},
        {"26", [](ToolLink& l, auto) { l.Command26(); }, kVerb26},
        {"27", [](ToolLink& l, auto) { l.Command27(); }, kVerb27, false},
    };
}

TEST_F(ToolLinkCommandsTest, EveryCommandBuildsItsLineAndRunsItInTheToolFolder) {
    for (const Text& targetId : {Text("T1"), Text()}) {
        SetTargetId(targetId);
        for (const LineCase& c : AllCommandLines()) {
            SCOPED_TRACE(Text("command ") + c.name + ", target \"" + targetId + "\"");
            calls_.clear();
            SetCurrentDirectoryA(BuiltProgramFolder().c_str());
            c.call(*link_, &observer_);
            ASSERT_EQ(calls_.size(), 1u);
            const Text expected = c.targeted ? kPathMark + kToolPath + kTargetOption + targetId + c.ownParts
                                             : kPathMark + kToolPath + c.ownParts;
            EXPECT_EQ(calls_[0].line, expected);
            EXPECT_EQ(calls_[0].directory, toolDir_.Path());
            EXPECT_EQ(calls_[0].observer, c.observed ? &observer_ : nullptr);
            EXPECT_EQ(calls_[0].notifyChunks, c.observed);
        }
    }
}

TEST_F(ToolLinkCommandsTest, UntargetedCommandCarriesNeitherOptionNorTarget) {
    SetTargetId("UNIQUE-TARGET-7");
    link_->Command27();
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].line.find(kTargetOption), Text::npos);
    EXPECT_EQ(calls_[0].line.find("UNIQUE-TARGET-7"), Text::npos);
}

struct VerdictCase {
    const char* name;
    std::function<bool(ToolLink&)> call;
    Text marker;
};

TEST_F(ToolLinkCommandsTest, VerdictsLookForTheirOwnMarkerWithLetterCase) {
    const VerdictCase cases[] = {
        {"1", [](ToolLink& l) { return l.Command01("a"); }, kOkMarkerA},
        {"2", [](ToolLink& l) { return l.Command02("a"); }, kOkMarkerA},
        {"3", [](ToolLink& l) { return l.Command03("a", "b"); }, kOkMarkerB},
        {"4", [](ToolLink& l) { return l.Command04("a", "b"); }, kOkMarkerB},
        {"8", [](ToolLink& l) { return l.Command08("a"); }, kOkMarkerA},
        {"9", [](ToolLink& l) { return l.Command09("a", "b"); }, kOkMarkerC},
        {"25", [](ToolLink& l) { return l.Command25(); }, kOkMarkerD},
    };
    const Text allOtherMarkers[] = {kOkMarkerA, kOkMarkerB, kOkMarkerC, kOkMarkerD};
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(Text("command ") + c.name);
        reply_ = "line one\r\nthe request was " + c.marker + " just now\r\n";
        EXPECT_TRUE(c.call(*link_));
        reply_ = "the request was " + Upper(c.marker) + "\r\n";
        EXPECT_FALSE(c.call(*link_));
        reply_.clear();
        EXPECT_FALSE(c.call(*link_));
        // The other commands' markers do not count.
        reply_.clear();
        for (const Text& other : allOtherMarkers) {
            if (other != c.marker)
                reply_ += other + kLineSep;
        }
        EXPECT_FALSE(c.call(*link_));
    }
}

TEST_F(ToolLinkCommandsTest, LineCommandsKeepOnlyMarkedLinesWithoutTheMarker) {
    const Text L = kLineMarker;
    const Text E = kLineSep;
    struct LinesCase {
        const char* name;
        Text output;
        TextArray expected;
    };
    const LinesCase cases[] = {
        {"only the last line marked, then a final separator", "heading" + E + "plain" + E + L + "one" + E, {"one"}},
        {"marker twice in one line", L + "a" + L + "b" + E, {"ab"}},
        {"marker inside a line", "x " + L + "y" + E + "unmarked" + E + E + L + "z", {"x y", "z"}},
        {"spaces at both ends of the whole output go", "   " + L + "first" + E + L + "last   ", {"first", "last"}},
        {"nothing marked", "a" + E + "b" + E, {}},
        {"empty output", "", {}},
    };
    const std::function<int32_t(ToolLink&, TextArray&)> commands[] = {
        [](ToolLink& l, TextArray& out) { return l.Command05(out); },
        [](ToolLink& l, TextArray& out) { return l.Command06(out); },
    };
    for (const auto& command : commands) {
        for (const LinesCase& c : cases) {
            SCOPED_TRACE(c.name);
            reply_ = c.output;
            TextArray out = {"left over 1", "left over 2", "left over 3"};
            EXPECT_EQ(command(*link_, out), static_cast<int32_t>(c.expected.size()));
            EXPECT_EQ(out, c.expected);
        }
    }
}

TEST_F(ToolLinkCommandsTest, ValueIsTheTrimmedOutputWithoutTheMarker) {
    const Text L = kLineMarker;
    struct ValueCase {
        const char* name;
        Text output;
        Text expected;
    };
    const ValueCase cases[] = {
        {"marked value between spaces", "  " + L + "42  ", "42"},
        {"every marker removed", L + "1 " + L + "2", "1 2"},
        {"line break at the end stays", L + "7" + kLineSep, "7" + Text(kLineSep)},
        {"marker in other letter case stays", Upper(L) + "9", Upper(L) + "9"},
        {"empty output", "", ""},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        reply_ = c.output;
        EXPECT_EQ(link_->Command07("key"), c.expected);
    }
}

TEST_F(ToolLinkCommandsTest, OutputCommandsReturnTheOutputUnchanged) {
    reply_ = "  first\r\nsecond  \r\n";
    EXPECT_EQ(link_->Command20(&observer_), reply_);
    EXPECT_EQ(link_->Command22("a", &observer_), reply_);
    EXPECT_EQ(link_->Command23("a", &observer_), reply_);
    EXPECT_EQ(link_->Command27(), reply_);
}

// Each command with text arguments, and which of them to poison.
struct ArgumentCase {
    const char* name;
    std::function<void(ToolLink&, const Text& bad)> call;
};

TEST_F(ToolLinkCommandsTest, UnsafeArgumentsNeverReachTheTool) {
    // A reply that would make every verdict true and every value non-empty if a line ran.
    reply_ = Text(kOkMarkerA) + kOkMarkerB + kOkMarkerC + kOkMarkerD + kLineMarker + "v";
    const ChunkObserver* o = &observer_;
    const ArgumentCase cases[] = {
        {"1", [](ToolLink& l, const Text& bad) { EXPECT_FALSE(l.Command01(bad)); }},
        {"2", [](ToolLink& l, const Text& bad) { EXPECT_FALSE(l.Command02(bad)); }},
        {"3 first", [](ToolLink& l, const Text& bad) { EXPECT_FALSE(l.Command03(bad, "b")); }},
        {"3 second", [](ToolLink& l, const Text& bad) { EXPECT_FALSE(l.Command03("a", bad)); }},
        {"4 first", [](ToolLink& l, const Text& bad) { EXPECT_FALSE(l.Command04(bad, "b")); }},
        {"4 second", [](ToolLink& l, const Text& bad) { EXPECT_FALSE(l.Command04("a", bad)); }},
        {"7", [](ToolLink& l, const Text& bad) { EXPECT_EQ(l.Command07(bad), ""); }},
        {"8", [](ToolLink& l, const Text& bad) { EXPECT_FALSE(l.Command08(bad)); }},
        {"9 first", [](ToolLink& l, const Text& bad) { EXPECT_FALSE(l.Command09(bad, "b")); }},
        {"9 second", [](ToolLink& l, const Text& bad) { EXPECT_FALSE(l.Command09("a", bad)); }},
        {"10", [](ToolLink& l, const Text& bad) { l.Command10(bad); }},
        {"11", [](ToolLink& l, const Text& bad) { l.Command11(bad); }},
        {"12", [](ToolLink& l, const Text& bad) { l.Command12(bad); }},
        {"15", [](ToolLink& l, const Text& bad) { l.Command15(bad); }},
        {"16", [](ToolLink& l, const Text& bad) { l.Command16(bad); }},
        {"17", [](ToolLink& l, const Text& bad) { l.Command17(bad); }},
        {"18", [](ToolLink& l, const Text& bad) { l.Command18(bad); }},
        {"19", [](ToolLink& l, const Text& bad) { l.Command19(bad); }},
        {"22", [o](ToolLink& l, const Text& bad) { EXPECT_EQ(l.Command22(bad, o), ""); }},
        {"23", [o](ToolLink& l, const Text& bad) { EXPECT_EQ(l.Command23(bad, o), ""); }},
        {"24", [](ToolLink& l, const Text& bad) { l.Command24(bad); }},
    };
    const Text unsafe[] = {"say \"hi\"", "x\xD5", "a\rb", "a\nb", Text("a\0b", 3)};
    for (const ArgumentCase& c : cases) {
        for (const Text& bad : unsafe) {
            SCOPED_TRACE(Text("command ") + c.name + ", argument " + ::testing::PrintToString(bad));
            c.call(*link_, bad);
            EXPECT_TRUE(calls_.empty());
            calls_.clear();
        }
    }
}

TEST_F(ToolLinkCommandsTest, UnsafeToolPathOrTargetStopsEveryCommand) {
    reply_ = Text(kOkMarkerA) + kOkMarkerB + kOkMarkerC + kOkMarkerD;
    struct Poison {
        const char* name;
        Text toolPath;
        Text targetId;
        bool untargetedRuns;  // the untargeted command and the listing do not carry the target
    };
    const Poison poisons[] = {
        {"tool path with percent", "C:\\100%\\entryctl.exe", "T1", false},
        {"tool path with quote", "C:\\Tool\" & del x & \"\\entryctl.exe", "T1", false},
        {"target with quote", kToolPath, "T1\" & calc & \"", true},
        {"target with line break", kToolPath, "T1\r\nT2", true},
    };
    for (const Poison& p : poisons) {
        SCOPED_TRACE(p.name);
        SetToolPath(p.toolPath);
        SetTargetId(p.targetId);
        for (const LineCase& c : AllCommandLines()) {
            SCOPED_TRACE(Text("command ") + c.name);
            calls_.clear();
            c.call(*link_, &observer_);
            EXPECT_EQ(calls_.size(), !c.targeted && p.untargetedRuns ? 1u : 0u);
        }
        calls_.clear();
        link_->ListTargets();
        EXPECT_EQ(calls_.size(), p.untargetedRuns ? 1u : 0u);
    }
}

TEST_F(ToolLinkCommandsTest, ContainsIsACaseSensitiveDoubleByteAwareSearch) {
    struct ContainsCase {
        const char* name;
        Text text;
        Text needle;
        bool found;
    };
    const ContainsCase cases[] = {
        {"found inside", "entry restored ok", "restored", true},
        {"empty needle in a text", "abc", "", true},
        {"two empty texts", "", "", false},
        {"needle longer than text", "ab", "abc", false},
        {"other letter case", "Restored", "restored", false},
        // 0xB1 0x61 is one character whose second byte is the letter a.
        {"never on a second byte", "\xb1\x61", "a", false},
        {"after a double-byte character", "\xb1\x61" "a", "a", true},
    };
    for (const ContainsCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(link_->Contains(c.text, c.needle), c.found);
    }
}

TEST_F(ToolLinkCommandsTest, ListTargetsGivesTheIdsOfTheListingLines) {
    const Text E = kLineSep;
    const Text F = kFieldSep;
    struct ListingCase {
        const char* name;
        Text output;
        Text expected;
    };
    const ListingCase cases[] = {
        {"two targets", kTargetsHeading + E + "T1" + F + "first" + E + "T2" + F + "second" + E, "T1" + E + "T2" + E},
        {"last line not closed", kTargetsHeading + E + "T1" + F + "first" + E + "T2" + F + "x", "T1" + E + "T2" + E},
        {"line without a field separator gives an empty id",
         kTargetsHeading + E + "T1" + F + "a" + E + "lonely" + E + "T3" + F + "c" + E, "T1" + E + E + "T3" + E},
        {"empty lines are skipped", kTargetsHeading + E + E + "T1" + F + "a" + E + E + "T2" + F + "b",
         "T1" + E + "T2" + E},
        {"spaces around the whole go", kTargetsHeading + E + "  T1" + F + "a" + E + "T2  " + F + "b",
         "T1" + E + "T2  " + E},
        {"first no-target reply", kNoTargetsReply1, ""},
        {"second no-target reply", kNoTargetsReply2, ""},
        {"heading only", kTargetsHeading + E, ""},
        {"empty output", "", ""},
    };
    for (const ListingCase& c : cases) {
        SCOPED_TRACE(c.name);
        reply_ = c.output;
        calls_.clear();
        TextArray listOut = {"stale"};
        EXPECT_EQ(link_->ListTargets(&listOut), c.expected);
        EXPECT_TRUE(listOut.empty());
        ASSERT_EQ(calls_.size(), 1u);
        EXPECT_EQ(calls_[0].line, kPathMark + kToolPath + kListTail);
        EXPECT_EQ(calls_[0].observer, nullptr);
        EXPECT_FALSE(calls_[0].notifyChunks);
        EXPECT_EQ(calls_[0].directory, toolDir_.Path());
    }
}

TEST_F(ToolLinkCommandsTest, SelectTargetTakesTheEntryAtItsPosition) {
    const Text E = kLineSep;
    const Text F = kFieldSep;
    reply_ = kTargetsHeading + E + "T1" + F + "a" + E + " T2 " + F + "b" + E + "lonely" + E + "T\"4" + F + "d" + E;
    struct SelectCase {
        int32_t position;
        bool selected;
        Text targetAfter;
    };
    const SelectCase cases[] = {
        {2, true, "T2"},     // trimmed
        {1, true, "T1"},
        {4, false, "T1"},    // not safe on a command line: the selection stays
        {5, false, "T1"},    // beyond the list
        {0, false, "T1"},
        {-1, false, "T1"},
        {INT32_MIN, false, "T1"},
        {3, false, ""},      // empty entry: selected, and reported as no target
        {1, true, "T1"},
    };
    for (const SelectCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "position " << c.position);
        EXPECT_EQ(link_->SelectTarget(c.position), c.selected);
        EXPECT_EQ(TargetId(), c.targetAfter);
    }

    reply_ = kNoTargetsReply1;
    EXPECT_FALSE(link_->SelectTarget(1));
    EXPECT_EQ(TargetId(), "T1");
}

TEST_F(ToolLinkCommandsTest, SelectTargetByIdTakesASafeIdAsItIs) {
    const Text given = " X 9 ";
    EXPECT_TRUE(link_->SelectTarget(99, &given));
    EXPECT_EQ(TargetId(), " X 9 ");
    EXPECT_TRUE(calls_.empty());  // no listing is run

    for (const Text& bad : {Text("X\"9"), Text("X\xD5"), Text("X\n9")}) {
        SCOPED_TRACE(::testing::PrintToString(bad));
        EXPECT_FALSE(link_->SelectTarget(1, &bad));
        EXPECT_EQ(TargetId(), " X 9 ");
    }
    // A percent sign reaches the tool as it is (CommandLineQuoting.h).
    const Text percent = "%X%";
    EXPECT_TRUE(link_->SelectTarget(1, &percent));
    EXPECT_EQ(TargetId(), "%X%");
}

}  // namespace
