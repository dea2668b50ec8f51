#include "workers/RestoreWorker.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <thread>

#include "common/WinHandles.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tests/support/ToolForPasses.h"
#include "tests/workers/FakePassHost.h"
#include "tests/workers/PassLogLines.h"
#include "toollink/portable/ToolLocation.h"
#include "workers/BackupWorker.h"
#include "workers/ManifestFile.h"
#include "workers/portable/PassTexts.h"

namespace {

using Buttons = std::vector<FakePassHost::ButtonChange>;
const Buttons kRestoreRoundTrip = {{PassButton::Restore, false}, {PassButton::Restore, true}};

Text Line(const Text& name, const char* text, int pos, int total) {
    return EntryLine(name, text, pos, total);
}

Text CountLine(int total) {
    return RestoreCountLine(total);
}

Text Summary(int total, int failed) {
    return RestoreSummaryLine(total, failed);
}

class RestoreWorkerTest : public ::testing::Test {
protected:
    Text BackupFile(const Text& stem) const { return backups_.File(stem + kBackupFileExt); }

    void WriteManifest(const Text& content) { ASSERT_TRUE(WriteWholeFile(ManifestPath(program_.Path()), content)); }

    // A real backup pass over the tool's entries, with a host of its own.
    void BackUp() {
        auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        std::thread pass(BackupWorker, tool_.Commands(), host);
        pass.join();
        ASSERT_FALSE(host->Log().empty());
        ASSERT_EQ(host->Log().back().rfind(kBackupAllDoneLeadIn, 0), 0u) << host->Log().back();
    }

    // Runs a whole pass on its own thread, as the window does; how it ended.
    PassResult RunPass() {
        PassResult result = PassResult::NotDone;
        std::thread pass([&] { result = RestoreWorker(tool_.Commands(), host_); });
        pass.join();
        return result;
    }

    ToolForPasses tool_;
    ScratchFolder program_;
    ScratchFolder backups_;
    std::shared_ptr<FakePassHost> host_ = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
};

TEST_F(RestoreWorkerTest, RestoresInTheOrderOfTheBackup) {
    ASSERT_TRUE(tool_.Seed({{"A", "alpha"}, {"B", "beta"}, {"C", "gamma"}}));
    BackUp();
    ASSERT_TRUE(tool_.Seed({{"A", "changed"}, {"B", "changed"}, {"C", "changed"}}));
    EXPECT_EQ(RunPass(), PassResult::AllDone);

    const std::vector<Text> expected = {
        CountLine(3),
        Line("A", kRestoreExistsText, 1, 3), Line("A", kRestoreDoneText, 1, 3),
        Line("B", kRestoreExistsText, 2, 3), Line("B", kRestoreDoneText, 2, 3),
        Line("C", kRestoreExistsText, 3, 3), Line("C", kRestoreDoneText, 3, 3),
        Summary(3, 0),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_EQ(host_->Buttons(), kRestoreRoundTrip);
    EXPECT_EQ(host_->Progress(), (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    // 100 ms after every line; 50 ms for every record passed over while looking an entry up.
    EXPECT_EQ(host_->Pauses(), (std::vector<int>{100, 50, 100, 50, 50, 100}));
    EXPECT_EQ(tool_.ContentOf("A"), "alpha");
    EXPECT_EQ(tool_.ContentOf("B"), "beta");
    EXPECT_EQ(tool_.ContentOf("C"), "gamma");
}

TEST_F(RestoreWorkerTest, CreatesEntriesTheToolNoLongerHas) {
    ASSERT_TRUE(tool_.Seed({{"Kept", "k"}, {"Lost", "l"}}));
    BackUp();
    ASSERT_TRUE(tool_.Seed({{"Kept", "k2"}}));
    RunPass();

    const std::vector<Text> expected = {
        CountLine(2),
        Line("Kept", kRestoreExistsText, 1, 2), Line("Kept", kRestoreDoneText, 1, 2),
        Line("Lost", kRestoreCreateText, 2, 2), Line("Lost", kRestoreDoneText, 2, 2),
        Summary(2, 0),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_EQ(tool_.ListedNames(), (std::vector<Text>{"Kept", "Lost"}));
    EXPECT_EQ(tool_.ContentOf("Kept"), "k");
    EXPECT_EQ(tool_.ContentOf("Lost"), "l");
}

// The tool reads a designator of digits only as an entry number. After the backup, entry "2" is
// No. 1 and "Other" No. 2, and "1" is gone: created again it becomes No. 3, while No. 1 is "2".
TEST_F(RestoreWorkerTest, EntriesNamedWithDigitsAreRestoredIntoTheirOwnEntries) {
    ASSERT_TRUE(tool_.Seed({{"x", "x"}, {"2", "named two"}, {"1", "named one"}, {"Other", "other"}}));
    BackUp();
    ASSERT_TRUE(tool_.Seed({{"2", "changed"}, {"Other", "changed"}}));
    RunPass();

    const std::vector<Text> expected = {
        CountLine(4),
        Line("x", kRestoreCreateText, 1, 4), Line("x", kRestoreDoneText, 1, 4),
        Line("2", kRestoreExistsText, 2, 4), Line("2", kRestoreDoneText, 2, 4),
        Line("1", kRestoreCreateText, 3, 4), Line("1", kRestoreDoneText, 3, 4),
        Line("Other", kRestoreExistsText, 4, 4), Line("Other", kRestoreDoneText, 4, 4),
        Summary(4, 0),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_EQ(tool_.ListedNames(), (std::vector<Text>{"2", "Other", "x", "1"}));
    EXPECT_EQ(tool_.ContentOf("x"), "x");
    EXPECT_EQ(tool_.ContentOf("2"), "named two");
    EXPECT_EQ(tool_.ContentOf("1"), "named one");
    EXPECT_EQ(tool_.ContentOf("Other"), "other");
}

TEST_F(RestoreWorkerTest, CountsUnusableLinesAndGoesOn) {
    ASSERT_TRUE(tool_.Seed({{"A", "a"}, {"C", "c"}}));
    BackUp();
    // In file order (the last line is restored first): C, a blank line, B whose file is gone,
    // damaged lines, then A.
    const Text manifest = "C\t" + BackupFile("C") + "\r\n" + "\r\n" + "B\t" + BackupFile("B") + "\r\n" +
                          "x\ty\tz\r\n" + "only a name\r\n" + "\t" + BackupFile("A") + "\r\n" + "A\t" +
                          BackupFile("A") + "\r\n";
    WriteManifest(manifest);
    EXPECT_EQ(RunPass(), PassResult::SomeNotDone);

    const std::vector<Text> expected = {
        CountLine(7),
        Line("A", kRestoreExistsText, 1, 7), Line("A", kRestoreDoneText, 1, 7),
        kBadLineText,  // empty name
        kBadLineText,  // one field
        kBadLineText,  // three fields
        Text("B") + kFileMissingText + BackupFile("B"),
        kBadLineText,  // blank
        Line("C", kRestoreExistsText, 7, 7), Line("C", kRestoreDoneText, 7, 7),
        Summary(7, 5),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_EQ(host_->Buttons(), kRestoreRoundTrip);
}

// A line of the list of backups whose name could never be passed to the tool (written by hand,
// say) is skipped and counted; a backup file whose path holds a percent sign is restored.
TEST_F(RestoreWorkerTest, SkipsNamesThatCannotReachTheTool) {
    ASSERT_TRUE(tool_.Seed({{"A", "a"}}));
    BackUp();
    const Text percentFile = backups_.File("100% %OS%.ekb");
    ASSERT_TRUE(CopyFileA(BackupFile("A").c_str(), percentFile.c_str(), FALSE));
    ASSERT_TRUE(tool_.Seed({{"A", "changed"}}));
    WriteManifest("A\t" + percentFile + "\r\n" + "say \"hi\"\t" + BackupFile("A") + "\r\n");
    RunPass();

    const std::vector<Text> expected = {
        CountLine(2),
        Text("say \"hi\"") + kUnsafeNameLeadIn + kReasonDoubleQuote + kUnsafeNameTail,
        Line("A", kRestoreExistsText, 2, 2), Line("A", kRestoreDoneText, 2, 2),
        Summary(2, 1),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_EQ(tool_.ListedNames(), (std::vector<Text>{"A"}));
    EXPECT_EQ(tool_.ContentOf("A"), "a");
}

TEST_F(RestoreWorkerTest, ARestoreTheToolRefusesIsCountedNotReportedDone) {
    ASSERT_TRUE(tool_.Seed({{"A", "a"}, {"B", "b"}}));
    BackUp();
    host_->afterLog = [&](FakePassHost&, const Text& line) {
        if (line == Line("B", kRestoreExistsText, 2, 2))
            tool_.RefuseRestores();
    };
    EXPECT_EQ(RunPass(), PassResult::SomeNotDone);

    const std::vector<Text> expected = {
        CountLine(2),
        Line("A", kRestoreExistsText, 1, 2), Line("A", kRestoreDoneText, 1, 2),
        Line("B", kRestoreExistsText, 2, 2), Line("B", kRestoreRefusedText, 2, 2),
        Summary(2, 1),
    };
    EXPECT_EQ(host_->Log(), expected);
}

TEST_F(RestoreWorkerTest, AFailedCreateEndsThePassWithoutSummary) {
    ASSERT_TRUE(tool_.Seed({{"A", "a"}, {"B", "b"}, {"C", "c"}}));
    BackUp();
    ASSERT_TRUE(tool_.Seed({{"A", "a"}}));
    ASSERT_TRUE(tool_.FailCreates());
    EXPECT_EQ(RunPass(), PassResult::NotDone);

    const std::vector<Text> expected = {
        CountLine(3),
        Line("A", kRestoreExistsText, 1, 3), Line("A", kRestoreDoneText, 1, 3),
        Line("B", kRestoreCreateText, 2, 3),
        Text("B") + kCreateFailedText,
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_EQ(host_->Buttons(), kRestoreRoundTrip);
    EXPECT_EQ(tool_.ListedNames(), (std::vector<Text>{"A"}));
}

// Without the tool every entry would look missing, and the pass would blame the first entry it
// could not create.
TEST_F(RestoreWorkerTest, AToolThatCannotBeFoundRestoresNothingAndSaysSo) {
    ASSERT_TRUE(tool_.Seed({{"A", "alpha"}, {"B", "beta"}}));
    BackUp();
    const Text manifest = ReadWholeFile(ManifestPath(program_.Path()));
    ASSERT_TRUE(tool_.Seed({{"A", "changed"}}));
    ScratchFolder empty;
    SetToolDir(empty.Path());  // the tool's folder without its program
    RunPass();

    EXPECT_EQ(host_->Log(), std::vector<Text>{kRestoreToolMissingText});
    EXPECT_EQ(host_->Buttons(), kRestoreRoundTrip);
    EXPECT_TRUE(host_->Pauses().empty());
    EXPECT_TRUE(FilesIn(empty.Path()).empty());
    SetToolDir(tool_.Folder());
    EXPECT_EQ(tool_.ListedNames(), std::vector<Text>{"A"});
    EXPECT_EQ(tool_.ContentOf("A"), "changed");
    EXPECT_EQ(ReadWholeFile(ManifestPath(program_.Path())), manifest);
}

// A restore before the first backup has nothing to do; "Restore finished: 0 entries restored"
// would read like a success, so the line says there is no list yet and how to make one.
TEST_F(RestoreWorkerTest, NoListOfBackupsYetSaysThatStartMakesOne) {
    ASSERT_TRUE(tool_.Seed({{"A", "a"}}));
    EXPECT_EQ(RunPass(), PassResult::AllDone) << "no list of backups is no error";

    EXPECT_EQ(host_->Log(), std::vector<Text>{kNoManifestYetText});
    EXPECT_EQ(host_->Buttons(), kRestoreRoundTrip);
    EXPECT_TRUE(host_->Pauses().empty());
    EXPECT_EQ(tool_.ContentOf("A"), "a");

    // An empty list is a list: its totals are zero.
    WriteManifest("");
    auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    std::thread pass([&] { RestoreWorker(tool_.Commands(), host); });
    pass.join();
    EXPECT_EQ(host->Log(), (std::vector<Text>{CountLine(0), Summary(0, 0)}));
}

// A listing the tool did not finish says nothing about whether the tool still has an entry: the
// restore creates nothing on its word, says the tool's list could not be read, gives Restore back
// and ends without a summary.
TEST_F(RestoreWorkerTest, AListingTheToolDidNotFinishCreatesNothing) {
    struct Case {
        const char* name;
        const char* faults;
        const char* how;
    } cases[] = {
        {"the tool dies before the entry's line", "die-list 0\r\n", "exit code 3221225477 (0xC0000005)"},
        {"the tool ends with another code", "exit-code 3\r\nonly list\r\n", "exit code 3 (0x00000003)"},
        {"the tool hangs", "hang\r\nonly list\r\n", "printed nothing for 1 seconds"},
        {"the tool reports an error", "fail-all\r\n", "exit code 1 (0x00000001)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(tool_.ClearFaults());
        tool_.Commands()->SetPolicy(CommandPolicy{});
        ASSERT_TRUE(tool_.Seed({{"Alpha", "a"}, {"Beta", "b"}}));
        BackUp();
        ASSERT_TRUE(tool_.Seed({{"Alpha", "changed"}, {"Beta", "changed"}}));
        ASSERT_TRUE(tool_.SetFaults(c.faults));
        tool_.Commands()->SetPolicy(CommandPolicy{{0}, 1});
        auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        PassResult result = PassResult::AllDone;
        std::thread pass([&] { result = RestoreWorker(tool_.Commands(), host); });
        pass.join();

        EXPECT_EQ(result, PassResult::NotDone);
        const std::vector<Text> log = host->Log();
        ASSERT_EQ(log.size(), 2u) << ::testing::PrintToString(log);
        EXPECT_EQ(log[0], CountLine(2));
        EXPECT_EQ(log[1].rfind(Text("Alpha") + kRestoreListingFailedLeadIn, 0), 0u) << log[1];
        EXPECT_NE(log[1].find(c.how), Text::npos) << log[1];
        EXPECT_EQ(host->Buttons(), kRestoreRoundTrip);
        EXPECT_TRUE(tool_.WaitForToolsToEnd(10000));
        ASSERT_TRUE(tool_.ClearFaults());
        EXPECT_EQ(tool_.ListedNames(), (std::vector<Text>{"Alpha", "Beta"})) << "nothing was created";
        EXPECT_EQ(tool_.ContentOf("Alpha"), "changed");
    }
}

// A restore or create that hangs is never ended: the tool may be writing its own store. The pass
// says so, hands the tool to the host (which keeps Restore until it ends) and stops, and Restore
// is not given back by the pass.
TEST_F(RestoreWorkerTest, AHungRestoreOrCreateIsLeftRunningAndEndsThePass) {
    struct Case {
        const char* name;
        const char* faults;
        std::vector<std::pair<Text, Text>> entries;  // the tool's entries at the restore
    } cases[] = {
        {"a restore", "hang\r\nonly restore\r\n", {{"A", "changed"}, {"B", "changed"}}},
        {"a create", "hang\r\nonly create\r\n", {{"B", "changed"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(tool_.ClearFaults());
        tool_.Commands()->SetPolicy(CommandPolicy{});
        ASSERT_TRUE(tool_.Seed({{"A", "a"}, {"B", "b"}}));
        BackUp();
        ASSERT_TRUE(tool_.Seed(c.entries));
        ASSERT_TRUE(tool_.SetFaults(c.faults));
        tool_.Commands()->SetPolicy(CommandPolicy{{0}, 1});
        auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        PassResult result = PassResult::AllDone;
        std::thread pass([&] { result = RestoreWorker(tool_.Commands(), host); });
        pass.join();

        EXPECT_EQ(result, PassResult::NotDone);
        const std::vector<Text> log = host->Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), Text("A") + kToolLeftRunningLeadIn + "1" + kToolLeftRunningTail);
        EXPECT_EQ(host->Buttons(), (Buttons{{PassButton::Restore, false}})) << "Restore stays taken";
        ASSERT_EQ(host->Held().size(), 1u);
        EXPECT_FALSE(host->Held()[0]->WaitForEnd(200)) << "the tool was left running";
        tool_.EndProcesses();
        EXPECT_TRUE(host->Held()[0]->WaitForEnd(10000));
    }
}

// A list of backups that another program holds open without sharing cannot be read: that is not
// an empty list, and a restore of nothing must not be reported as finished.
TEST_F(RestoreWorkerTest, AListOfBackupsThatCannotBeReadRestoresNothingAndSaysSo) {
    ASSERT_TRUE(tool_.Seed({{"A", "alpha"}}));
    BackUp();
    ASSERT_TRUE(tool_.Seed({{"A", "changed"}}));
    const Text manifestPath = ManifestPath(program_.Path());
    {
        UniqueFileHandle holder(
            CreateFileA(manifestPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(RunPass(), PassResult::NotDone);
    }

    EXPECT_EQ(host_->Log(), std::vector<Text>{kManifestUnreadableLeadIn + manifestPath + kRestoreManifestUnreadableTail});
    EXPECT_EQ(host_->Buttons(), kRestoreRoundTrip);
    EXPECT_TRUE(host_->Pauses().empty());
    EXPECT_EQ(tool_.ContentOf("A"), "changed");
}

// Entries that share a name, or an unnamed entry whose made-up name another entry bears: after a
// backup and a restore each entry holds its own data or is left as it was, never another's.
TEST_F(RestoreWorkerTest, EntriesSharingANameNeverGetEachOthersData) {
    const Text madeUp = kDefaultNamePrefix + Text("2");
    ASSERT_TRUE(tool_.Seed({{"dup", "first"}, {"dup", "second"}, {"", "nameless"}, {madeUp, "real"}}));
    {
        auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        std::thread pass([&] { EXPECT_EQ(BackupWorker(tool_.Commands(), host), PassResult::SomeNotDone); });
        pass.join();
    }
    ASSERT_TRUE(tool_.Seed({{"dup", "changed"}, {"dup", "changed"}, {"", "changed"}, {madeUp, "changed"}}));
    EXPECT_EQ(RunPass(), PassResult::AllDone);

    EXPECT_EQ(tool_.Contents(), (std::vector<Text>{"first", "changed", "changed", "real"}));
}

// A list of backups written before same-named entries were told apart can hold two lines of one
// name; the tool would take both into one entry, so only the first of the walk is restored.
TEST_F(RestoreWorkerTest, ASecondLineOfOneNameIsSkippedAndCounted) {
    ASSERT_TRUE(tool_.Seed({{"dup", "second"}}));
    BackUp();
    const Text secondFile = BackupFile("dup~2");
    ASSERT_TRUE(WriteWholeFile(secondFile, ReadWholeFile(BackupFile("dup"))));
    ASSERT_TRUE(tool_.Seed({{"dup", "first"}}));
    BackUp();
    WriteManifest(ManifestLine("dup", secondFile) + ManifestLine("dup", BackupFile("dup")));
    ASSERT_TRUE(tool_.Seed({{"dup", "changed"}, {"dup", "changed"}}));
    EXPECT_EQ(RunPass(), PassResult::SomeNotDone);

    const std::vector<Text> expected = {
        CountLine(2),
        Line("dup", kRestoreExistsText, 1, 2), Line("dup", kRestoreDoneText, 1, 2),
        Line("dup", kSameNameAgainText, 2, 2),
        Summary(2, 1),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_EQ(tool_.Contents(), (std::vector<Text>{"first", "changed"}));
}

TEST_F(RestoreWorkerTest, NamesWithShellCharactersAndDoubleByteCharactersRoundTrip) {
    const std::vector<std::pair<Text, Text>> entries = {
        {"Entry with spaces", "s"},
        {"Tom & Jerry ^ (copy)", "t"},
        {"\xB1\xED\xB8\xF1 1", "dbcs"},           // two double-byte characters, a space, a digit
        {"\xC4\x5C" "x|y", "trail-5C"},            // a second byte that looks like a backslash
    };
    ASSERT_TRUE(tool_.Seed(entries));
    BackUp();
    ASSERT_TRUE(tool_.Seed({}));
    RunPass();

    std::vector<Text> names;
    for (const auto& [name, content] : entries) {
        SCOPED_TRACE(name);
        names.push_back(name);
        EXPECT_EQ(tool_.ContentOf(name), content);
    }
    EXPECT_EQ(tool_.ListedNames(), names);
    EXPECT_EQ(host_->Log().back(), Summary(4, 0));
}

// The command interpreter expands %NAME% even inside quotes; names that spell references to
// real variables, with percent signs in every position, still reach the tool exactly.
TEST_F(RestoreWorkerTest, NamesWithPercentSignsBackUpAndRestoreExactly) {
    const std::vector<std::pair<Text, Text>> entries = {
        {"100% done", "a"},    {"%PATH%", "b"},   {"%OS%", "c"},       {"%PATH:~0,3%", "d"},
        {"%%", "e"},           {"%", "f"},        {"50%off%PATH%", "g"}, {"%TEMP%\\x\\%", "h"},
        {"\xB0\xD9%\xB7\xD6", "i"},  // a percent sign between two double-byte characters
    };
    ASSERT_TRUE(tool_.Seed(entries));
    BackUp();
    for (const auto& [name, content] : entries) {
        SCOPED_TRACE(name);
        EXPECT_NE(FindText(ReadWholeFile(ManifestPath(program_.Path())), name + "\t"), -1);
    }
    ASSERT_TRUE(tool_.Seed({{"%PATH%", "changed"}}));
    EXPECT_EQ(RunPass(), PassResult::AllDone);

    std::vector<Text> names;
    for (const auto& [name, content] : entries) {
        SCOPED_TRACE(name);
        names.push_back(name);
        EXPECT_EQ(tool_.ContentOf(name), content);
    }
    std::vector<Text> listed = tool_.ListedNames();
    std::sort(listed.begin(), listed.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(listed, names);
    EXPECT_EQ(host_->Log().back(), Summary(static_cast<int>(entries.size()), 0));
}

TEST_F(RestoreWorkerTest, LooksPastAnUnnamedEntryInTheToolsList) {
    ASSERT_TRUE(tool_.Seed({{"", "nameless"}, {"A", "a"}}));
    EntryList list;
    EXPECT_TRUE(IsEntryListed(*tool_.Commands(), *host_, list, "A"));
    EXPECT_FALSE(IsEntryListed(*tool_.Commands(), *host_, list, "Z"));
    EXPECT_EQ(host_->Log(), (std::vector<Text>{Text("A") + kUnnamedEntryText, Text("Z") + kUnnamedEntryText}));
    EXPECT_EQ(host_->Pauses(), (std::vector<int>{50, 50, 50}));
}

}  // namespace
