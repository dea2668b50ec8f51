#include "workers/BackupWorker.h"

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
#include "workers/ManifestFile.h"
#include "workers/RestoreWorker.h"
#include "workers/portable/BackupFileName.h"
#include "workers/portable/PassTexts.h"

namespace {

using Buttons = std::vector<FakePassHost::ButtonChange>;
const Buttons kIdleAgain = {{PassButton::Start, true}, {PassButton::Stop, false}};

Text Line(const Text& name, const char* text, int k, int count) {
    return EntryLine(name, text, k, count);
}

// Log lines of a pass into `folder` in which every entry was backed up.
std::vector<Text> CleanPassLog(const std::vector<Text>& names, const Text& folder) {
    const int count = static_cast<int>(names.size());
    std::vector<Text> log = {BackupCountLine(count, folder)};
    for (int k = 1; k <= count; ++k) {
        log.push_back(Line(names[k - 1], kBackupStartText, k, count));
        log.push_back(Line(names[k - 1], kBackupDoneText, k, count));
    }
    log.push_back(BackupDoneLine(count));
    return log;
}

// The bytes a folder's path is followed by in the shortest staging file this process gives a
// backup (a one-character name's, in the short form "\~.ekb.<process id>-<count>.partial"), with a
// count of `countDigits` digits.
size_t ShortestStagingTail(size_t countDigits) {
    return (Text("\\~.ekb.") + IntToText(GetCurrentProcessId()) + "-" + Text(countDigits, '9') + ".partial").size();
}

class BackupWorkerTest : public ::testing::Test {
protected:
    Text BackupFile(const Text& stem) const { return backups_.File(stem + kBackupFileExt); }
    Text Manifest() const { return ReadWholeFile(ManifestPath(program_.Path())); }

    // Runs a whole pass on its own thread, as the window does; how it ended.
    PassResult RunPass() { return RunPassWith(host_); }
    PassResult RunPassWith(const std::shared_ptr<FakePassHost>& host) {
        PassResult result = PassResult::NotDone;
        std::thread pass([&] { result = BackupWorker(tool_.Commands(), host); });
        pass.join();
        return result;
    }
    // A pass with a host of its own that backs up every entry; the manifest it wrote.
    Text EarlierPass() {
        auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        EXPECT_EQ(RunPassWith(host), PassResult::AllDone);
        const std::vector<Text> log = host->Log();
        EXPECT_TRUE(!log.empty() && log.back().rfind(kBackupAllDoneLeadIn, 0) == 0);
        return Manifest();
    }
    // The log line of an entry whose earlier backup file `stem`.ekb stays in the list of backups.
    Text KeptLine(const Text& name, const Text& stem) const { return name + kKeptEarlierText + BackupFile(stem); }
    Text KeptLine(const Text& name) const { return KeptLine(name, name); }

    ToolForPasses tool_;
    ScratchFolder program_;
    ScratchFolder backups_;
    std::shared_ptr<FakePassHost> host_ = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
};

TEST_F(BackupWorkerTest, BacksUpInListOrderAndWritesTheManifestInReverse) {
    ASSERT_TRUE(tool_.Seed({{"A", "alpha"}, {"B", "beta"}, {"C", "gamma"}}));
    ASSERT_TRUE(WriteWholeFile(ManifestPath(program_.Path()), "a much longer earlier manifest\tx\r\n"));
    EXPECT_EQ(RunPass(), PassResult::AllDone);

    EXPECT_EQ(host_->Log(), CleanPassLog({"A", "B", "C"}, backups_.Path()));
    // Each line reads on its own: the folder is named, and the position stands apart from the name.
    ASSERT_EQ(host_->Log().size(), 8u);
    EXPECT_EQ(host_->Log()[0], "Backup started: 3 entries to back up into \"" + backups_.Path() + "\".");
    EXPECT_EQ(host_->Log()[2], "A: backed up (entry 1 of 3)");
    EXPECT_EQ(host_->Log()[7], "Backup finished: 3 entries backed up.");
    EXPECT_EQ(host_->Progress(), (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(Manifest(), "C\t" + BackupFile("C") + "\r\n" + "B\t" + BackupFile("B") + "\r\n" + "A\t" +
                              BackupFile("A") + "\r\n");
    EXPECT_EQ(host_->Buttons(), kIdleAgain);
    EXPECT_EQ(host_->Pauses(), (std::vector<int>{100, 100, 100}));
    // Once to check it before the listing, then once for each entry.
    EXPECT_EQ(host_->FolderReads(), 4);
    for (const char* name : {"A", "B", "C"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(tool_.BackupHolds(BackupFile(name), name));
    }
    EXPECT_EQ(FilesIn(backups_.Path()).size(), 3u) << "nothing but the backup files";
}

TEST_F(BackupWorkerTest, NamesUnnamedEntriesByTheirPositionFromZero) {
    ASSERT_TRUE(tool_.Seed({{"", "first"}, {"Named", "second"}, {"", "third"}}));
    RunPass();

    const Text first = kDefaultNamePrefix + Text("0");
    const Text third = kDefaultNamePrefix + Text("2");
    EXPECT_EQ(host_->Log(), CleanPassLog({first, "Named", third}, backups_.Path()));
    EXPECT_EQ(Manifest(), third + "\t" + BackupFile(third) + "\r\n" + "Named\t" + BackupFile("Named") + "\r\n" +
                              first + "\t" + BackupFile(first) + "\r\n");
    // The unnamed entries are reached by their numbers, so their files hold their own contents.
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile(first), "first"));
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile(third), "third"));
}

TEST_F(BackupWorkerTest, ReplacesAnEarlierBackupOfTheSamePath) {
    ASSERT_TRUE(tool_.Seed({{"A", "fresh"}}));
    ASSERT_TRUE(WriteWholeFile(BackupFile("A"), "stale backup"));
    RunPass();

    EXPECT_EQ(host_->Log(), CleanPassLog({"A"}, backups_.Path()));
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("A"), "fresh"));
    EXPECT_EQ(FilesIn(backups_.Path()), std::vector<Text>{"A.ekb"}) << "nothing of the replaced backup lingers";
}

TEST_F(BackupWorkerTest, NoEntriesGiveAnEmptyManifest) {
    ASSERT_TRUE(tool_.Seed({}));
    ASSERT_TRUE(WriteWholeFile(ManifestPath(program_.Path()), ""));
    EXPECT_EQ(RunPass(), PassResult::AllDone) << "nothing to back up is no failure";

    EXPECT_EQ(host_->Log(), CleanPassLog({}, backups_.Path()));
    EXPECT_TRUE(FileExists(ManifestPath(program_.Path())));
    EXPECT_EQ(Manifest(), "");
    EXPECT_EQ(host_->Buttons(), kIdleAgain);
    EXPECT_TRUE(host_->Pauses().empty());
}

TEST_F(BackupWorkerTest, AToolThatCannotBeFoundKeepsThePreviousManifest) {
    const Text previous = "A\t" + BackupFile("A") + "\r\n";
    ASSERT_TRUE(WriteWholeFile(ManifestPath(program_.Path()), previous));
    ScratchFolder empty;
    SetToolDir(empty.Path());  // the tool's folder without its program: the listing comes back empty
    EXPECT_EQ(RunPass(), PassResult::NotDone);

    EXPECT_EQ(host_->Log(), std::vector<Text>{kToolMissingText});
    EXPECT_EQ(Manifest(), previous);
    EXPECT_EQ(host_->Buttons(), kIdleAgain);
}

TEST_F(BackupWorkerTest, AFolderChangedDuringThePassTakesTheRemainingEntries) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}}));
    ScratchFolder other;
    host_->afterLog = [&](FakePassHost& host, const Text& line) {
        if (line == Line("A", kBackupDoneText, 1, 3))
            host.SetFolderField(other.Path());
    };
    RunPass();

    EXPECT_EQ(host_->Log(), CleanPassLog({"A", "B", "C"}, backups_.Path()));
    EXPECT_TRUE(FileExists(BackupFile("A")));
    EXPECT_FALSE(FileExists(BackupFile("B")));
    EXPECT_TRUE(tool_.BackupHolds(other.File("B.ekb"), "B"));
    EXPECT_TRUE(tool_.BackupHolds(other.File("C.ekb"), "C"));
    EXPECT_EQ(Manifest(), "C\t" + other.File("C.ekb") + "\r\n" + "B\t" + other.File("B.ekb") + "\r\n" + "A\t" +
                              BackupFile("A") + "\r\n");
}

TEST_F(BackupWorkerTest, AnEntryWhoseBackupFailsKeepsItsEarlierBackup) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}}));
    EarlierPass();
    // D is new; from B on, the tool answers as usual but writes nothing.
    ASSERT_TRUE(tool_.Seed({{"A", "1b"}, {"B", "2b"}, {"C", "3b"}, {"D", "4"}}));
    host_->afterLog = [&](FakePassHost&, const Text& line) {
        if (line == Line("B", kBackupStartText, 2, 4))
            tool_.FailBackups();
    };
    EXPECT_EQ(RunPass(), PassResult::SomeNotDone);

    const std::vector<Text> expected = {
        BackupCountLine(4, backups_.Path()),
        Line("A", kBackupStartText, 1, 4),
        Line("A", kBackupDoneText, 1, 4),
        Line("B", kBackupStartText, 2, 4),
        Line("B", kBackupFailedText, 2, 4),
        KeptLine("B"),
        Line("C", kBackupStartText, 3, 4),
        Line("C", kBackupFailedText, 3, 4),
        KeptLine("C"),
        Line("D", kBackupStartText, 4, 4),
        Line("D", kBackupFailedText, 4, 4),
        BackupSummaryLine(3, 4),
    };
    EXPECT_EQ(host_->Log(), expected);
    // B's and C's earlier backups are still the ones to restore from; D has none to offer.
    EXPECT_EQ(Manifest(), "C\t" + BackupFile("C") + "\r\n" + "B\t" + BackupFile("B") + "\r\n" + "A\t" +
                              BackupFile("A") + "\r\n");
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("A"), "1b"));
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("B"), "2"));
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("C"), "3"));
    EXPECT_EQ(FilesIn(backups_.Path()).size(), 3u);
    EXPECT_EQ(host_->Buttons(), kIdleAgain);
}

// A folder that cannot take the backups would make every entry fail one by one, or (empty or
// relative) put the backups somewhere the user never chose. The pass names the folder and what
// is wrong in one line, touches nothing, and the list of backups still leads to the earlier files.
TEST_F(BackupWorkerTest, AFolderThatCannotTakeTheBackupsBacksUpNothing) {
    ASSERT_TRUE(tool_.Seed({{"A", "alpha"}, {"B", "beta"}}));
    const Text earlier = EarlierPass();
    const Text earlierA = ReadWholeFile(BackupFile("A"));
    ASSERT_TRUE(WriteWholeFile(program_.File("a file"), "not a folder"));
    // A folder that exists, too long for any staging file.
    const size_t tooLongSize = kMaxPathBytes - ShortestStagingTail(1) + 1;
    ScratchFolder tooLongFolder(program_.Path(), Text(tooLongSize - program_.Path().size() - 1, 't'));
    const Text tooLong = tooLongFolder.Path();
    ASSERT_EQ(tooLong.size(), tooLongSize);
    const Text beyondAnyPath = backups_.Path() + "\\" + Text(kMaxPathBytes, 'b');
    const Text tooLongWhy = kFolderTooLongText;
    struct Case {
        const char* name;
        Text folder;
        Text problem;  // as the line words it
    } cases[] = {
        {"empty", "", kNoFolderText},
        {"relative", "backups", Text(kFolderLeadIn) + "backups" + kFolderTail + kFolderNotAbsoluteText},
        {"root of the current drive", "\\backups",
         Text(kFolderLeadIn) + "\\backups" + kFolderTail + kFolderNotAbsoluteText},
        {"missing", backups_.File("no such folder"),
         kFolderLeadIn + backups_.File("no such folder") + kFolderTail + kFolderMissingText},
        {"a file", program_.File("a file"),
         kFolderLeadIn + program_.File("a file") + kFolderTail + kFolderNotAFolderText},
        {"too long for a backup file and its staging file", tooLong,
         kFolderLeadIn + tooLong + kFolderTail + tooLongWhy},
        {"longer than any path", beyondAnyPath, kFolderLeadIn + beyondAnyPath + kFolderTail + tooLongWhy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(tool_.Seed({{"A", "changed"}, {"B", "changed"}}));
        auto host = std::make_shared<FakePassHost>(program_.Path(), c.folder);
        EXPECT_EQ(RunPassWith(host), PassResult::NotDone);

        EXPECT_EQ(host->Log(), std::vector<Text>{kNothingBackedUpLeadIn + c.problem + kNothingBackedUpTail});
        EXPECT_EQ(Manifest(), earlier);
        EXPECT_EQ(ReadWholeFile(BackupFile("A")), earlierA);
        EXPECT_EQ(host->Buttons(), kIdleAgain);
        EXPECT_EQ(host->FolderReads(), 1);
    }
    EXPECT_EQ(GetFileAttributesA(backups_.File("no such folder").c_str()), INVALID_FILE_ATTRIBUTES) << "not created";

    auto restore = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    std::thread pass(RestoreWorker, tool_.Commands(), restore);
    pass.join();
    EXPECT_EQ(tool_.ContentOf("A"), "alpha");
    EXPECT_EQ(tool_.ContentOf("B"), "beta");
}

// The folder is read again for every entry (the user may change it during a pass); a folder that
// cannot take backups fails the entries it would take, and they keep their earlier backups.
TEST_F(BackupWorkerTest, AFolderChangedDuringThePassToOneThatCannotTakeBackupsFailsTheRemainingEntries) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}}));
    EarlierPass();
    ASSERT_TRUE(tool_.Seed({{"A", "1b"}, {"B", "2b"}, {"C", "3b"}}));
    const Text missing = backups_.File("gone");
    host_->afterLog = [&](FakePassHost& host, const Text& line) {
        if (line == Line("A", kBackupDoneText, 1, 3))
            host.SetFolderField(missing);
    };
    RunPass();

    const Text why = kEntryFolderLeadIn + (kFolderLeadIn + missing + kFolderTail + kFolderMissingText) + " ";
    const std::vector<Text> expected = {
        BackupCountLine(3, backups_.Path()),
        Line("A", kBackupStartText, 1, 3), Line("A", kBackupDoneText, 1, 3),
        Line("B", kBackupStartText, 2, 3), Line("B", why.c_str(), 2, 3), KeptLine("B"),
        Line("C", kBackupStartText, 3, 3), Line("C", why.c_str(), 3, 3), KeptLine("C"),
        BackupSummaryLine(2, 3),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("A"), "1b"));
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("B"), "2"));
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES) << "not created";
}

TEST_F(BackupWorkerTest, AListingThatFailedOrCameBackEmptyLeavesTheListOfBackupsAsItWas) {
    struct Case {
        const char* name;
        const char* faults;
        std::vector<std::pair<Text, Text>> entries;
        const char* logged;
        std::vector<uint32_t> successCodes = {0};
    } cases[] = {
        {"every command of the tool fails", "fail-all\r\n", {{"A", "1"}, {"B", "2"}},
         "The tool's listing of its entries did not finish: the tool ended with exit code 1 (0x00000001), so it "
         "failed (only a tool that answers success with another code needs that code in SuccessExitCodes under "
         "[Tool] in EntryKeeper.ini). Nothing was backed up, and the list of backups was not changed."},
        {"the tool reports an error with a success code", "fail-all\r\n", {{"A", "1"}, {"B", "2"}},
         kListingFailedText, {0, 1}},
        {"the tool lists no entries", "", {}, kEmptyListingKeptText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tool_.Commands()->SetPolicy(CommandPolicy{});
        ASSERT_TRUE(tool_.ClearFaults());
        ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
        const Text earlier = EarlierPass();
        ASSERT_TRUE(tool_.Seed(c.entries));
        ASSERT_TRUE(tool_.SetFaults(c.faults));
        tool_.Commands()->SetPolicy(CommandPolicy{c.successCodes});
        auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        EXPECT_EQ(RunPassWith(host), PassResult::NotDone);

        EXPECT_EQ(host->Log(), std::vector<Text>{c.logged}) << "no closing line, and no success";
        EXPECT_EQ(Manifest(), earlier);
        EXPECT_TRUE(tool_.BackupHolds(BackupFile("A"), "A"));
        EXPECT_EQ(host->Buttons(), kIdleAgain);
        EXPECT_TRUE(host->Pauses().empty());
    }
}

// A listing the tool did not finish (it died part-way, hung, or ended with a code that is no
// success) is not the whole list of entries, however much of it reads as one: backing up what it
// gave and writing the list from it would drop every other entry's backup from the list.
TEST_F(BackupWorkerTest, AListingTheToolDidNotFinishBacksUpNothing) {
    struct Case {
        const char* name;
        const char* faults;
        const char* how;  // how the tool ended, as the line says it
    } cases[] = {
        {"the tool dies after one line", "die-list 1\r\n", "exit code 3221225477 (0xC0000005)"},
        {"the tool ends with another code", "exit-code 3\r\nonly list\r\n", "exit code 3 (0x00000003)"},
        {"the tool hangs", "hang\r\nonly list\r\n", "printed nothing for 1 seconds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tool_.Commands()->SetPolicy(CommandPolicy{});
        ASSERT_TRUE(tool_.ClearFaults());
        ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}}));
        const Text earlier = EarlierPass();
        ASSERT_TRUE(tool_.SetFaults(c.faults));
        tool_.Commands()->SetPolicy(CommandPolicy{{0}, 1});
        auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        EXPECT_EQ(RunPassWith(host), PassResult::NotDone);

        ASSERT_EQ(host->Log().size(), 1u) << ::testing::PrintToString(host->Log());
        EXPECT_EQ(host->Log()[0].rfind(kListingNotDoneLeadIn, 0), 0u) << host->Log()[0];
        EXPECT_NE(host->Log()[0].find(c.how), Text::npos) << host->Log()[0];
        EXPECT_EQ(Manifest(), earlier);
        EXPECT_EQ(host->Buttons(), kIdleAgain);
        EXPECT_TRUE(tool_.WaitForToolsToEnd(10000)) << "a hung listing is ended";
    }
}

// The command interpreter could not be started at all: that says nothing about the entries either,
// and without an earlier list an empty one must not be written as if the tool had none.
TEST_F(BackupWorkerTest, ACommandThatCouldNotBeStartedBacksUpNothing) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    auto unstartable = std::make_shared<ToolCommands>(
        CommandCaptureFn([](const Text&, const ChunkObserver*, bool, const CommandWatch&) { return Capture(); }));
    SetToolDir(tool_.Folder());
    PassResult result = PassResult::AllDone;
    std::thread pass([&] { result = BackupWorker(unstartable, host_); });
    pass.join();

    EXPECT_EQ(result, PassResult::NotDone);
    EXPECT_EQ(host_->Log(), std::vector<Text>{kListingNotDoneLeadIn + Text(kToolEndNotStarted) + kListingNotDoneTail});
    EXPECT_FALSE(FileExists(ManifestPath(program_.Path())));
}

// A backup the tool did not finish (it died while writing, was hung and ended, or ended with a code
// that is no success) never replaces the entry's earlier backup: what it wrote is discarded, the
// earlier file stays byte for byte and in the list of backups, and the line says how the tool ended.
TEST_F(BackupWorkerTest, ABackupTheToolDidNotFinishNeverReplacesTheEarlierOne) {
    struct Case {
        const char* name;
        const char* faults;
        const char* how;
    } cases[] = {
        {"the tool dies while writing", "die-backup\r\n", "exit code 3221225477 (0xC0000005)"},
        {"the tool is caught writing and never ends", "backup-torn\r\n", "printed nothing for 1 seconds"},
        {"the tool ends with another code", "exit-code 3\r\nonly backup\r\n", "exit code 3 (0x00000003)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tool_.Commands()->SetPolicy(CommandPolicy{});
        ASSERT_TRUE(tool_.ClearFaults());
        ASSERT_TRUE(tool_.Seed({{"A", Text(3000, 'a')}, {"B", Text(3000, 'b')}}));
        const Text earlier = EarlierPass();
        const Text earlierA = ReadWholeFile(BackupFile("A"));
        ASSERT_TRUE(tool_.Seed({{"A", Text(3000, 'x')}, {"B", Text(3000, 'y')}}));
        ASSERT_TRUE(tool_.SetFaults(c.faults));
        tool_.Commands()->SetPolicy(CommandPolicy{{0}, 1});
        auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
        host->afterLog = [&](FakePassHost&, const Text& line) {
            // Only A's backup goes wrong.
            if (line == Line("B", kBackupStartText, 2, 2))
                tool_.ClearFaults();
        };
        EXPECT_EQ(RunPassWith(host), PassResult::SomeNotDone);

        const std::vector<Text> log = host->Log();
        ASSERT_EQ(log.size(), 7u) << ::testing::PrintToString(log);
        EXPECT_EQ(log[2].rfind(Text("A") + kBackupNotDoneLeadIn, 0), 0u) << log[2];
        EXPECT_NE(log[2].find(c.how), Text::npos) << log[2];
        EXPECT_NE(log[2].find(kBackupNotDoneTail), Text::npos) << log[2];
        EXPECT_EQ(log[3], KeptLine("A"));
        EXPECT_EQ(log[5], Line("B", kBackupDoneText, 2, 2));
        EXPECT_EQ(log[6], BackupSummaryLine(1, 2));
        EXPECT_EQ(ReadWholeFile(BackupFile("A")), earlierA);
        EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("B"), Text(3000, 'y')));
        EXPECT_EQ(Manifest(), earlier);
        EXPECT_TRUE(tool_.WaitForToolsToEnd(10000));
        EXPECT_EQ(FilesIn(backups_.Path()).size(), 2u) << "nothing of the unfinished backup is left";
    }
}

// A tool whose success code is not 0 can be used once the settings say so.
TEST_F(BackupWorkerTest, TheSuccessCodesOfThePolicyCount) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
    ASSERT_TRUE(tool_.SetFaults("exit-code 3\r\n"));
    tool_.Commands()->SetPolicy(CommandPolicy{{0, 3}});
    EXPECT_EQ(RunPass(), PassResult::AllDone);
    EXPECT_EQ(host_->Log(), CleanPassLog({"A", "B"}, backups_.Path()));
}

// A tool that hangs on every backup would keep a scheduled run waiting the hang limit out for
// every entry: after two hung backups in a row the pass ends, each hung tool ended with everything
// it started, and the list of backups stays as it was.
TEST_F(BackupWorkerTest, TwoHungBackupsInARowEndThePass) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}}));
    const Text earlier = EarlierPass();
    ASSERT_TRUE(tool_.HangOnBackup());
    tool_.Commands()->SetPolicy(CommandPolicy{{0}, 1});
    auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    EXPECT_EQ(RunPassWith(host), PassResult::NotDone);

    const std::vector<Text> log = host->Log();
    ASSERT_EQ(log.size(), 8u) << ::testing::PrintToString(log);
    for (int at : {2, 5}) {
        SCOPED_TRACE(log[at]);
        EXPECT_NE(log[at].find("printed nothing for 1 seconds"), Text::npos);
        EXPECT_NE(log[at].find("entryctl.exe ("), Text::npos) << "the processes ended are named";
    }
    EXPECT_EQ(log[7], kHungTwiceText);
    EXPECT_EQ(Manifest(), earlier);
    EXPECT_EQ(host->Buttons(), kIdleAgain);
    EXPECT_TRUE(tool_.WaitForToolsToEnd(5000)) << "no hung tool is left running";
}

// Whatever the command runner does with a zero byte in the tool's answer, the rest of the
// listing must reach the pass.
TEST_F(BackupWorkerTest, AZeroByteInTheListingCutsNoEntryOff) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}}));
    ASSERT_TRUE(tool_.SetFaults("zero-byte\r\nonly list\r\n"));
    RunPass();

    EXPECT_EQ(host_->Log(), CleanPassLog({"A", "B", "C"}, backups_.Path()));
    EXPECT_EQ(Manifest(), "C\t" + BackupFile("C") + "\r\n" + "B\t" + BackupFile("B") + "\r\n" + "A\t" +
                              BackupFile("A") + "\r\n");
}

// The tool reads a designator of digits only as an entry number: entry "2" is No. 1 here and
// entry "1" is No. 2, so naming them would back up each with the other's data.
TEST_F(BackupWorkerTest, EntriesNamedWithDigitsAreBackedUpByTheirOwnNumbers) {
    ASSERT_TRUE(tool_.Seed({{"2", "data of the entry named 2"}, {"1", "data of the entry named 1"}, {"x", "x"}}));
    RunPass();

    EXPECT_EQ(host_->Log(), CleanPassLog({"2", "1", "x"}, backups_.Path()));
    for (const char* name : {"1", "2"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(tool_.BackupHolds(BackupFile(name), name));
        EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile(name), Text("data of the entry named ") + name));
    }
}

// On a file system that ignores letter case, report.ekb and REPORT.ekb are one file.
TEST_F(BackupWorkerTest, AKeptLineIsOnlyEverTheEarlierLineOfTheSameName) {
    ASSERT_TRUE(tool_.Seed({{"report", "lower"}, {"REPORT", "UPPER"}}));
    EarlierPass();
    ASSERT_TRUE(tool_.BackupHolds(BackupFile("report"), "report"));
    ASSERT_TRUE(tool_.BackupHolds(BackupFile("REPORT~2"), "REPORT"));
    // report is deleted; REPORT's backup fails.
    ASSERT_TRUE(tool_.Seed({{"REPORT", "UPPER again"}}));
    ASSERT_TRUE(tool_.FailBackups());
    RunPass();

    // REPORT's own earlier file, never the one that stands where REPORT's new backup would go.
    EXPECT_EQ(Manifest(), "REPORT\t" + BackupFile("REPORT~2") + "\r\n");
    EXPECT_TRUE(tool_.BackupHolds(BackupFile("REPORT~2"), "REPORT"));
    const std::vector<Text> log = host_->Log();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[3], KeptLine("REPORT", "REPORT~2"));
}

// One folder spelled another way is still one folder. "a?b" and "A*B" share a file stem that differs
// only in letter case (a_b, A_B), which Windows takes for one file; so no entry's new backup may land
// on the file that another entry keeps in the list or has just written, whether the folder comes
// with a closing separator, by another drive letter, or changes to such a spelling during the pass.
TEST_F(BackupWorkerTest, OneFolderSpelledAnotherWayIsStillOneFolder) {
    const Text question = "a?b";
    const Text star = "A*B";
    struct Case {
        const char* name;
        bool earlierPass;  // a first pass put a?b in a_b.ekb and A*B in A_B~2.ekb; now A*B comes
                           // first, and a?b is gone from the tool when its turn comes
        Text (*folder)(const Text& backups);
        Text (*folderFromSecondEntry)(const Text& backups);  // null: the folder stays
        Text (*starFolder)(const Text& backups);              // where A*B's backup is expected
    } cases[] = {
        {"a closing separator", true, [](const Text& b) { return b + "\\"; }, nullptr,
         [](const Text& b) { return b; }},
        {"another drive letter", true, [](const Text& b) { return SecondDriveRoute(b); }, nullptr,
         [](const Text& b) { return SecondDriveRoute(b); }},
        {"a closing separator from the second entry on", false, [](const Text& b) { return b; },
         [](const Text& b) { return b + "\\"; }, [](const Text& b) { return b; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder program;
        ScratchFolder backups;
        if (c.folder(backups.Path()).empty()) {
            ADD_FAILURE() << "no second route to " << backups.Path() << " here";
            continue;
        }
        const Text manifestPath = ManifestPath(program.Path());
        Text questionFile = backups.Path() + "\\a_b.ekb";
        if (c.earlierPass) {
            ASSERT_TRUE(tool_.Seed({{question, "question"}, {star, "star"}}));
            EXPECT_EQ(RunPassWith(std::make_shared<FakePassHost>(program.Path(), backups.Path())), PassResult::AllDone);
            ASSERT_EQ(ReadWholeFile(manifestPath), ManifestLine(star, backups.Path() + "\\A_B~2.ekb") +
                                                       ManifestLine(question, questionFile));
            ASSERT_TRUE(tool_.Seed({{star, "star, changed"}, {question, "question"}}));
        } else {
            ASSERT_TRUE(tool_.Seed({{question, "question"}, {star, "star, changed"}}));
        }
        auto host = std::make_shared<FakePassHost>(program.Path(), c.folder(backups.Path()));
        host->afterLog = [&](FakePassHost& h, const Text& line) {
            if (c.earlierPass && line == Line(question, kBackupStartText, 2, 2))
                tool_.Seed({{star, "star, changed"}});
            if (c.folderFromSecondEntry && line == Line(question, kBackupDoneText, 1, 2))
                h.SetFolderField(c.folderFromSecondEntry(backups.Path()));
        };
        RunPassWith(host);

        const Text starFile = c.starFolder(backups.Path()) + "\\A_B~2.ekb";
        const Text expected = c.earlierPass ? ManifestLine(question, questionFile) + ManifestLine(star, starFile)
                                            : ManifestLine(star, starFile) + ManifestLine(question, questionFile);
        EXPECT_EQ(ReadWholeFile(manifestPath), expected);
        EXPECT_TRUE(tool_.BackupHoldsContent(questionFile, "question"));
        EXPECT_TRUE(tool_.BackupHoldsContent(starFile, "star, changed"));

        // What a restore then brings back is each entry's own data.
        ASSERT_TRUE(tool_.Seed({{star, "damaged"}}));
        std::thread restore(RestoreWorker, tool_.Commands(),
                            std::make_shared<FakePassHost>(program.Path(), backups.Path()));
        restore.join();
        EXPECT_EQ(tool_.ContentOf(question), "question");
        EXPECT_EQ(tool_.ContentOf(star), "star, changed");
    }
}

TEST_F(BackupWorkerTest, ANewEntryNeverWritesOverTheFileAFailedEntryKeeps) {
    ASSERT_TRUE(tool_.Seed({{"report", "lower"}}));
    EarlierPass();
    // REPORT is new and comes first; its backup succeeds, then report's fails.
    ASSERT_TRUE(tool_.Seed({{"REPORT", "UPPER"}, {"report", "lower, changed"}}));
    host_->afterLog = [&](FakePassHost&, const Text& line) {
        if (line == Line("report", kBackupStartText, 2, 2))
            tool_.FailBackups();
    };
    EXPECT_EQ(RunPass(), PassResult::SomeNotDone);

    EXPECT_TRUE(tool_.BackupHolds(BackupFile("report"), "report"));
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("report"), "lower"));
    EXPECT_TRUE(tool_.BackupHolds(BackupFile("REPORT~2"), "REPORT"));
    EXPECT_EQ(Manifest(), "report\t" + BackupFile("report") + "\r\n" + "REPORT\t" + BackupFile("REPORT~2") + "\r\n");
}

TEST_F(BackupWorkerTest, RemovesWhatAnInterruptedPassLeftBeingWritten) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    ASSERT_TRUE(WriteWholeFile(backups_.File("A.ekb.77-1.partial"), "half a backup"));
    ASSERT_TRUE(WriteWholeFile(backups_.File("Gone.ekb.77-2.partial"), "half a backup of a deleted entry"));
    ASSERT_TRUE(WriteWholeFile(backups_.File("notes.txt"), "the user's own"));
    RunPass();

    EXPECT_EQ(host_->Log(), CleanPassLog({"A"}, backups_.Path()));
    std::vector<Text> files = FilesIn(backups_.Path());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<Text>{"A.ekb", "notes.txt"}));
}

TEST_F(BackupWorkerTest, ABackupFileHeldOpenElsewhereIsLeftAloneAndReported) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    const Text earlier = EarlierPass();
    const Text previous = ReadWholeFile(BackupFile("A"));
    ASSERT_TRUE(tool_.Seed({{"A", "changed"}}));
    // Another program has the file open and allows neither deleting nor replacing it.
    UniqueFileHandle holder(CreateFileA(BackupFile("A").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    RunPass();
    holder.reset();

    const std::vector<Text> expected = {
        BackupCountLine(1, backups_.Path()),
        Line("A", kBackupStartText, 1, 1),
        Line("A", kReplaceFailedText, 1, 1),
        KeptLine("A"),
        BackupSummaryLine(1, 1),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_EQ(ReadWholeFile(BackupFile("A")), previous);
    EXPECT_EQ(Manifest(), earlier);
    EXPECT_EQ(FilesIn(backups_.Path()), std::vector<Text>{"A.ekb"});
}

// A virus scanner or the indexer holds a new or renamed file for a moment that can reach seconds:
// the new backup waits for it instead of failing the entry.
TEST_F(BackupWorkerTest, ABackupFileHeldForSomeSecondsIsReplacedOnceLetGo) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    EarlierPass();
    ASSERT_TRUE(tool_.Seed({{"A", "changed"}}));
    UniqueFileHandle holder;
    std::thread letGo;
    host_->afterLog = [&](FakePassHost&, const Text& line) {
        if (line != Line("A", kBackupStartText, 1, 1))
            return;
        holder.reset(CreateFileA(BackupFile("A").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        letGo = std::thread([&] {
            Sleep(3000);
            holder.reset();
        });
    };
    EXPECT_EQ(RunPass(), PassResult::AllDone);
    letGo.join();

    EXPECT_EQ(host_->Log(), CleanPassLog({"A"}, backups_.Path()));
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("A"), "changed"));
    EXPECT_EQ(FilesIn(backups_.Path()), std::vector<Text>{"A.ekb"});
}

// The user made a backup file or the list of backups read-only to keep it as it is. Windows
// refuses to replace such a file and Wine replaces it; either way the pass leaves it alone and
// says why, instead of blaming another program.
TEST_F(BackupWorkerTest, AReadOnlyBackupFileOrListIsLeftAsItIsAndSaysSo) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
    const Text earlier = EarlierPass();
    const Text previousA = ReadWholeFile(BackupFile("A"));
    ASSERT_TRUE(SetFileAttributesA(BackupFile("A").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(tool_.Seed({{"A", "changed"}, {"B", "changed"}}));
    EXPECT_EQ(RunPass(), PassResult::SomeNotDone);

    const std::vector<Text> expected = {
        BackupCountLine(2, backups_.Path()),
        Line("A", kBackupStartText, 1, 2), Line("A", kReadOnlyBackupText, 1, 2), KeptLine("A"),
        Line("B", kBackupStartText, 2, 2), Line("B", kBackupDoneText, 2, 2),
        BackupSummaryLine(1, 2),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_EQ(ReadWholeFile(BackupFile("A")), previousA);
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile("B"), "changed"));
    EXPECT_EQ(FilesIn(backups_.Path()).size(), 2u) << "no staging file stays";
    SetFileAttributesA(BackupFile("A").c_str(), FILE_ATTRIBUTE_NORMAL);

    const Text manifestPath = ManifestPath(program_.Path());
    const Text list = Manifest();
    ASSERT_TRUE(SetFileAttributesA(manifestPath.c_str(), FILE_ATTRIBUTE_READONLY));
    auto host = std::make_shared<FakePassHost>(program_.Path(), backups_.Path());
    EXPECT_EQ(RunPassWith(host), PassResult::NotDone);
    SetFileAttributesA(manifestPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_FALSE(host->Log().empty());
    EXPECT_EQ(host->Log().back(), kManifestReadOnlyText + manifestPath);
    EXPECT_EQ(Manifest(), list);
    EXPECT_EQ(FilesIn(program_.Path()).size(), 1u) << "no temporary list stays";
}

// A double quote would close the quotes around the name on the command line: the entry is not
// backed up, and its line says so in the words of the total and says what to do.
TEST_F(BackupWorkerTest, SkipsNamesThatCannotReachTheToolAndKeepsOthersInsideTheFolder) {
    const Text quote = "say \"hi\"";
    const Text escaping = "..\\..\\Windows\\evil";
    const Text device = "con";
    ASSERT_TRUE(tool_.Seed({{escaping, "2"}, {quote, "3"}, {device, "4"}}));
    EXPECT_EQ(RunPass(), PassResult::SomeNotDone);

    const std::vector<Text> expected = {
        BackupCountLine(3, backups_.Path()),
        Line(escaping, kBackupStartText, 1, 3),
        Line(escaping, kBackupDoneText, 1, 3),
        Line(quote, kBackupStartText, 2, 3),
        quote + ": not backed up, its name holds a double quote, which cannot be passed to the tool; rename the "
                "entry in the tool to back it up",
        Line(device, kBackupStartText, 3, 3),
        Line(device, kBackupDoneText, 3, 3),
        "Backup finished, but not every entry was backed up: 1 of 3 not backed up (see the lines above).",
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_TRUE(tool_.BackupHolds(BackupFile(".._.._Windows_evil"), escaping));
    EXPECT_TRUE(tool_.BackupHolds(BackupFile("_con"), device));
    EXPECT_EQ(Manifest(), device + "\t" + BackupFile("_con") + "\r\n" + escaping + "\t" +
                              BackupFile(".._.._Windows_evil") + "\r\n");
}

// The paths the tool is given hold the folder: one with a percent sign, even one that spells a
// variable, takes the backups like any other.
TEST_F(BackupWorkerTest, AFolderWithPercentSignsTakesTheBackups) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    ScratchFolder parent;
    const Text folder = parent.Path() + "\\50% off %OS%";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    host_->SetFolderField(folder);
    EXPECT_EQ(RunPass(), PassResult::AllDone);

    EXPECT_EQ(host_->Log(), CleanPassLog({"A"}, folder));
    EXPECT_EQ(Manifest(), "A\t" + folder + "\\A" + kBackupFileExt + "\r\n");
    EXPECT_TRUE(tool_.BackupHolds(folder + "\\A" + kBackupFileExt, "A"));
    EXPECT_EQ(FilesIn(folder).size(), 1u) << "no staging file stays behind";
}

TEST_F(BackupWorkerTest, AManifestThatCannotBeWrittenIsReportedNotCelebrated) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    const Text missingFolder = program_.File("gone");
    auto host = std::make_shared<FakePassHost>(missingFolder, backups_.Path());
    EXPECT_EQ(RunPassWith(host), PassResult::NotDone);

    std::vector<Text> log = host->Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), kManifestWriteFailedText + ManifestPath(missingFolder));
    EXPECT_TRUE(FileExists(BackupFile("A")));
    EXPECT_EQ(host->Buttons(), kIdleAgain);
}

// The list's temporary file stands beside it: with a name longer than the list's own, a program
// folder whose list just fits would have every backup end with "could not be saved".
TEST_F(BackupWorkerTest, AListOfBackupsWhosePathJustFitsIsSaved) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    const Text padding(kMaxPathBytes - ManifestPath(program_.Path()).size() - 1, 'p');
    ScratchFolder program(program_.Path(), padding);
    ASSERT_EQ(ManifestPath(program.Path()).size(), kMaxPathBytes);
    auto host = std::make_shared<FakePassHost>(program.Path(), backups_.Path());
    EXPECT_EQ(RunPassWith(host), PassResult::AllDone);

    EXPECT_EQ(host->Log(), CleanPassLog({"A"}, backups_.Path()));
    EXPECT_EQ(ReadWholeFile(ManifestPath(program.Path())), ManifestLine("A", BackupFile("A")));
    EXPECT_EQ(FilesIn(program.Path()).size(), 1u) << "no temporary list stays";
}

// The previous list of backups holds the lines a failed entry keeps. One that exists but cannot be
// read is not an empty list: a pass built on it could drop every kept line when it replaces it.
TEST_F(BackupWorkerTest, AListOfBackupsThatCannotBeReadIsLeftAsItWas) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    const Text earlier = EarlierPass();
    ASSERT_TRUE(tool_.Seed({{"A", "2"}}));
    const Text manifestPath = ManifestPath(program_.Path());
    {
        // Held without read sharing, but deletion allowed: only the read fails.
        UniqueFileHandle holder(CreateFileA(manifestPath.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(RunPass(), PassResult::NotDone);
    }

    EXPECT_EQ(host_->Log(), std::vector<Text>{kManifestUnreadableLeadIn + manifestPath + kBackupManifestUnreadableTail});
    EXPECT_EQ(host_->Buttons(), kIdleAgain);
    EXPECT_EQ(Manifest(), earlier);
}

// A restore finds entries by name and the tool, given a name, reaches the first entry bearing it:
// a second entry of that name must not be logged as backed up, and no backup file may hold the
// data of an entry other than the one its manifest line names.
TEST_F(BackupWorkerTest, AnEntryWhoseNameAnotherEntryBearsIsSkippedAndSaysWhy) {
    const Text madeUp = kDefaultNamePrefix + Text("1");
    const struct {
        const char* what;
        std::vector<std::pair<Text, Text>> entries;
        int skipped;  // position from 1
        const char* reason;
    } cases[] = {
        {"two entries of one name", {{"dup", "first"}, {"dup", "second"}, {"B", "b"}}, 2, kSameNameSkippedText},
        {"two entries of one all-digit name", {{"7", "first"}, {"x", "x"}, {"7", "second"}}, 3, kSameNameSkippedText},
        {"an unnamed entry before the entry bearing its made-up name",
         {{"A", "a"}, {"", "nameless"}, {"X", "x"}, {madeUp, "real"}}, 2, kDefaultNameTakenText},
        {"an unnamed entry after the entry bearing its made-up name",
         {{madeUp, "real"}, {"", "nameless"}}, 2, kDefaultNameTakenText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder program;
        ScratchFolder backups;
        auto host = std::make_shared<FakePassHost>(program.Path(), backups.Path());
        ASSERT_TRUE(tool_.Seed(c.entries));
        EXPECT_EQ(RunPassWith(host), PassResult::SomeNotDone);

        const int count = static_cast<int>(c.entries.size());
        const auto& [skippedName, skippedContent] = c.entries[c.skipped - 1];
        const Text logName = skippedName.empty() ? madeUp : skippedName;
        const std::vector<Text> log = host->Log();
        EXPECT_NE(std::find(log.begin(), log.end(), Line(logName, c.reason, c.skipped, count)), log.end());
        EXPECT_EQ(std::count(log.begin(), log.end(), Line(logName, kBackupDoneText, c.skipped, count)), 0);
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), BackupSummaryLine(1, count));

        // Every line names an entry of its own, and its file holds that entry's data.
        const std::vector<ManifestEntry> lines = ReadManifestLines(ReadWholeFile(ManifestPath(program.Path())));
        EXPECT_EQ(static_cast<int>(lines.size()), count - 1);
        for (const ManifestEntry& line : lines) {
            SCOPED_TRACE(line.name);
            const auto owner = std::find_if(c.entries.begin(), c.entries.end(),
                                            [&](const auto& entry) { return entry.first == line.name; });
            ASSERT_NE(owner, c.entries.end());
            EXPECT_TRUE(tool_.BackupHoldsContent(line.file, owner->second));
        }
        for (const Text& file : FilesIn(backups.Path())) {
            EXPECT_FALSE(tool_.BackupHoldsContent(backups.File(file), skippedContent)) << file;
        }
    }
}

// An entry whose backup path fits within the platform's path limit is backed up, however little
// room that leaves for the staging file beside it; one whose path would not fit is skipped with
// the reason rather than blamed on the tool.
TEST_F(BackupWorkerTest, LongNamesAreBackedUpWheneverTheirBackupPathFits) {
    const Text folder = backups_.Path();
    const auto nameFor = [&](size_t pathLength) { return Text(pathLength - folder.size() - 5, 'L'); };
    const Text longest = nameFor(kMaxPathBytes);
    const Text nearly = nameFor(kMaxPathBytes - 12);
    const Text tooLong = nameFor(kMaxPathBytes + 1);
    ASSERT_TRUE(tool_.Seed({{longest, "longest"}, {nearly, "nearly"}, {tooLong, "too long"}}));
    EXPECT_EQ(RunPass(), PassResult::SomeNotDone);

    const std::vector<Text> expected = {
        BackupCountLine(3, folder),
        Line(longest, kBackupStartText, 1, 3), Line(longest, kBackupDoneText, 1, 3),
        Line(nearly, kBackupStartText, 2, 3), Line(nearly, kBackupDoneText, 2, 3),
        Line(tooLong, kBackupStartText, 3, 3), tooLong + kPathTooLongText,
        BackupSummaryLine(1, 3),
    };
    EXPECT_EQ(host_->Log(), expected);
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile(longest), "longest"));
    EXPECT_TRUE(tool_.BackupHoldsContent(BackupFile(nearly), "nearly"));
    EXPECT_EQ(FilesIn(folder).size(), 2u) << "no staging file stays behind";
}

// A folder with room for short names' backups and little more is used: the file that checks
// whether the folder takes files fits wherever a backup does.
TEST_F(BackupWorkerTest, AFolderWithRoomForShortNamesOnlyTakesTheirBackups) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    // The stand-in tool writes under the staging name and ".tmp<its process id>" first.
    const size_t size = kMaxPathBytes - ShortestStagingTail(3) - 10;
    ScratchFolder longest(backups_.Path(), Text(size - backups_.Path().size() - 1, 'l'));
    ASSERT_EQ(longest.Path().size(), size);
    host_->SetFolderField(longest.Path());
    EXPECT_EQ(RunPass(), PassResult::AllDone);

    EXPECT_EQ(host_->Log(), CleanPassLog({"A"}, longest.Path()));
    EXPECT_TRUE(tool_.BackupHoldsContent(longest.File("A.ekb"), "1"));
}

// A name that ends in a lead byte would take the closing quote as its second byte on the command
// line, and the rest of the line would leave the quotes: the pass skips it and says why.
TEST_F(BackupWorkerTest, SkipsANameWithAnIncompleteDoubleByteCharacterAndSaysWhy) {
    const Text lone = "&mkdir PWNED&\xD5";
    ASSERT_TRUE(tool_.Seed({{lone, "1"}, {"A", "a"}}));
    RunPass();

    // The listing may glue the next field to the name (its lead byte takes the separator along);
    // what counts is that the entry is skipped for this reason and never reaches the tool.
    const Text why = Text(kNameNotBackedUpLeadIn) + kReasonIncompleteDoubleByte + kUnsafeNameTail + kRenameEntryTail;
    int skipped = 0;
    for (const Text& line : host_->Log()) {
        skipped += line.rfind(lone, 0) == 0 && line.size() > why.size() &&
                   line.compare(line.size() - why.size(), why.size(), why) == 0;
        if (line.find(kBackupDoneText) != Text::npos) {
            EXPECT_EQ(line.rfind(Text("A") + kBackupDoneText, 0), 0u) << "only A is backed up: " << line;
        }
    }
    EXPECT_EQ(skipped, 1) << ::testing::PrintToString(host_->Log());
    EXPECT_EQ(Manifest().find(lone), Text::npos);
    EXPECT_TRUE(tool_.BackupHolds(BackupFile("A"), "A"));
    EXPECT_EQ(GetFileAttributesA((tool_.Folder() + "\\PWNED").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
