// Start, Restore and Stop on a real window, with the real passes driving a private copy of the
// stand-in tool. The test thread is the window thread: it clicks as the user does and keeps the
// window's messages flowing while the passes run.

#include "app/passes/PassControl.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <future>
#include <memory>
#include <set>
#include <vector>

#include "app/passes/PassLock.h"
#include "app/program/ProgramHandlers.h"
#include "app/window/ControlAccess.h"
#include "app/window/MainWindow.h"
#include "common/PumpingWait.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tests/support/ToolForPasses.h"
#include "tests/workers/PassLogLines.h"
#include "workers/ManifestFile.h"
#include "workers/portable/PassTexts.h"

namespace {

class PassControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        handlers_ = std::make_unique<ProgramHandlers>(program_.Path(), tool_.Commands(), true, LockOpener());
        window_ = std::make_unique<MainWindow>(handlers_.get());
        ASSERT_TRUE(window_->Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
        WriteControlText(Window(), kFolderFieldId, backups_.Path());
    }
    void TearDown() override {
        // Whatever still runs is stopped, and the tool processes it left hanging are ended.
        if (window_ && Window())
            SendMessageA(Window(), WM_CLOSE, 0, 0);
        tool_.EndProcesses();
        PumpFor(300);
        window_.reset();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // How the passes open their lock's file.
    virtual LockFileOpener LockOpener() const { return OpenLockFile; }

    HWND Window() const { return window_->Handle(); }
    // A click as the mouse gives it: the handler has run when this returns.
    void Click(int id) { SendMessageA(GetDlgItem(Window(), id), BM_CLICK, 0, 0); }
    bool Enabled(int id) const { return ReadControlInt(Window(), id, kPropDisabled) == 0; }
    Text Log() const { return ReadControlText(Window(), kLogBoxId); }
    bool LogHas(const Text& text) const { return FindText(Log(), text) > 0; }

    // Keeps the window's messages flowing (the passes reach the window through them) until
    // `condition` holds or `ms` milliseconds have passed.
    bool PumpUntil(const std::function<bool()>& condition, DWORD ms = 30000) {
        const DWORD start = GetTickCount();
        while (!condition()) {
            if (GetTickCount() - start >= ms)
                return false;
            PumpingWait(10);
        }
        return true;
    }
    void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

    Text Title() const {
        char title[256] = {};
        GetWindowTextA(Window(), title, sizeof title);
        return title;
    }
    // Pumps until `done` holds, noting every title the window shows meanwhile.
    std::vector<Text> TitlesUntil(const std::function<bool()>& done) {
        std::vector<Text> titles = {Title()};
        PumpUntil([&] {
            if (titles.back() != Title())
                titles.push_back(Title());
            return done();
        }, 60000);
        return titles;
    }

    // The lines of the log that follow the last line holding `text`. No line holding it fails the
    // test: "nothing after the Stop line" must not pass because Stop logged nothing.
    std::vector<Text> LinesAfter(const Text& text) const {
        std::vector<Text> after;
        bool seen = false;
        for (const Text& line : SplitText(Log(), "\r\n")) {
            if (FindText(line, text) > 0) {
                seen = true;
                after.clear();
            } else if (seen) {
                after.push_back(line);
            }
        }
        EXPECT_TRUE(seen) << "no line holds \"" << text << "\":\n" << Log();
        return after;
    }

    ToolForPasses tool_;
    ScratchFolder program_;
    ScratchFolder backups_;
    ScratchFolder secondBackups_;
    std::unique_ptr<ProgramHandlers> handlers_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(PassControlTest, StartSwapsTheButtonsAtOnceAndTheFinishedPassSwapsThemBack) {
    ASSERT_TRUE(tool_.Seed({{"Project notes", "a"}, {"\xbf\xcd\xbb\xa7 \xc3\xfb\xb5\xa5", "b"}}));
    Click(kStartButtonId);
    // No message has been handled since the click: the handler itself changed them.
    EXPECT_FALSE(Enabled(kStartButtonId));
    EXPECT_TRUE(Enabled(kStopButtonId));
    EXPECT_TRUE(Enabled(kRestoreButtonId));

    // The pass gives the buttons back one after the other, as its last steps.
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kStartButtonId) && !Enabled(kStopButtonId); })) << Log();
    EXPECT_TRUE(LogHas(kBackupAllDoneLeadIn)) << Log();
    EXPECT_TRUE(FileExists(ManifestPath(program_.Path())));
    EXPECT_TRUE(tool_.BackupHolds(backups_.File("Project notes" + Text(kBackupFileExt)), "Project notes"));
}

TEST_F(PassControlTest, StopReturnsAtOnceAndTheStoppedPassDoesNothingMore) {
    struct Case {
        const char* name;
        const char* faults;
    };
    const Case cases[] = {
        {"the tool hangs on a backup", "hang\r\nonly backup\r\n"},
        {"the tool answers slowly", "slow 150\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}}));
        ASSERT_TRUE(tool_.SetFaults(c.faults));
        DeleteFileA(ManifestPath(program_.Path()).c_str());
        Click(kStartButtonId);
        ASSERT_TRUE(PumpUntil([&] { return LogHas(Text("A") + kBackupStartText); })) << Log();

        // Returns although the pass is inside a tool command that may never end.
        Click(kStopButtonId);
        EXPECT_TRUE(Enabled(kStartButtonId));
        EXPECT_FALSE(Enabled(kStopButtonId));
        EXPECT_TRUE(LinesAfter(kStopBackupBeforeAnyText).empty()) << Log();

        // Long enough for the pass to have gone on to the next entries, had it not been stopped.
        PumpFor(1500);
        EXPECT_TRUE(LinesAfter(kStopBackupBeforeAnyText).empty()) << Log();
        EXPECT_TRUE(Enabled(kStartButtonId));
        EXPECT_FALSE(Enabled(kStopButtonId));
        EXPECT_FALSE(FileExists(ManifestPath(program_.Path())));
        tool_.EndProcesses();
        ASSERT_TRUE(tool_.ClearFaults());
    }
}

// Stop while the tool still lists its entries, or during the first entry, has changed nothing:
// the line must not say that entries backed up before the stop have new backup files.
TEST_F(PassControlTest, StopBeforeAnyEntryWasBackedUpSaysNothingWasChanged) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
    ASSERT_TRUE(tool_.SetFaults("hang\r\nonly list\r\n"));
    Click(kStartButtonId);
    PumpFor(1000);
    Click(kStopButtonId);
    EXPECT_TRUE(LogHas(kStopBackupBeforeAnyText)) << Log();
    EXPECT_FALSE(LogHas(kStopBackupText)) << Log();
    tool_.EndProcesses();

    // After an entry was backed up, the line says so.
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kStartButtonId); })) << Log();
    ASSERT_TRUE(tool_.SetFaults("slow 300\r\nonly backup\r\n"));
    Click(kStartButtonId);
    ASSERT_TRUE(PumpUntil([&] { return LogHas(Text("B") + kBackupStartText); }, 60000)) << Log();
    Click(kStopButtonId);
    EXPECT_TRUE(LogHas(kStopBackupText)) << Log();
}

TEST_F(PassControlTest, BothPassesRunTogetherAndStopEndsBoth) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
    Click(kStartButtonId);
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kStartButtonId) && !Enabled(kStopButtonId); })) << Log();

    // A backup and a restore at once, both held up by the tool.
    ASSERT_TRUE(tool_.SetFaults("slow 400\r\n"));
    Click(kStartButtonId);
    Click(kRestoreButtonId);
    EXPECT_FALSE(Enabled(kRestoreButtonId));
    ASSERT_TRUE(PumpUntil([&] { return LogHas(kRestoreCountTail) && LogHas(kBackupCountTail); }, 60000))
        << Log();
    Click(kStopButtonId);
    EXPECT_FALSE(Enabled(kStopButtonId));
    // The stopped restore no longer gives its button back itself, so Stop did.
    EXPECT_TRUE(Enabled(kRestoreButtonId));
    // Start comes back once the stopped restore's thread has ended: its tool may still be writing.
    EXPECT_TRUE(PumpUntil([&] { return Enabled(kStartButtonId); }, 20000)) << Log();
    // One line for each stopped pass, saying what it left behind; nothing after them.
    EXPECT_TRUE(LogHas("Backup stopped")) << Log();
    PumpFor(2000);
    EXPECT_TRUE(LinesAfter(kStopRestoreText).empty()) << Log();
}

// A restore may start during a backup: it reads each backup file before the backup could write
// what the restore put into the tool over it. The backup that ends first leaves Start disabled
// until the restore has ended too.
TEST_F(PassControlTest, ARestoreStartedDuringABackupRunsToItsEnd) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}}));
    Click(kStartButtonId);
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kStartButtonId) && !Enabled(kStopButtonId); })) << Log();
    ASSERT_TRUE(tool_.Seed({{"A", "changed"}}));

    // The new backup goes to a folder of its own, so the two passes share only the tool and the
    // window; the restores are slow, so the backup ends first.
    ASSERT_TRUE(tool_.SetFaults("slow 300\r\nonly restore\r\n"));
    WriteControlText(Window(), kFolderFieldId, secondBackups_.Path());
    Click(kStartButtonId);
    Click(kRestoreButtonId);
    EXPECT_FALSE(Enabled(kRestoreButtonId));
    ASSERT_TRUE(PumpUntil([&] { return LogHas(kBackupAllDoneLeadIn); })) << Log();
    PumpFor(200);
    ASSERT_FALSE(Enabled(kRestoreButtonId)) << "the restore has ended already:\n" << Log();
    EXPECT_FALSE(Enabled(kStartButtonId)) << "Start stays disabled while the restore runs";
    auto bothIdle = [&] { return Enabled(kStartButtonId) && !Enabled(kStopButtonId) && Enabled(kRestoreButtonId); };
    ASSERT_TRUE(PumpUntil(bothIdle, 60000)) << Log();
    EXPECT_TRUE(LogHas(kRestoreAllDoneLeadIn)) << Log();
    EXPECT_TRUE(LogHas(kBackupAllDoneLeadIn)) << Log();
    EXPECT_EQ(tool_.ContentOf("A"), "1");
    EXPECT_EQ(tool_.ContentOf("B"), "2");
    EXPECT_EQ(tool_.ContentOf("C"), "3");
}

// Restore, then Start a few seconds later, as a user tries it: a backup at that moment would copy
// the entries the restore has not reached yet, still damaged, over their good backup files, and
// the restore would then write that damage back into the tool.
TEST_F(PassControlTest, NoBackupStartsWhileARestoreRuns) {
    std::vector<std::pair<Text, Text>> good;
    std::vector<std::pair<Text, Text>> damaged;
    for (int k = 1; k <= 10; ++k) {
        good.push_back({"Entry " + IntToText(k), "good " + IntToText(k)});
        damaged.push_back({"Entry " + IntToText(k), "damaged"});
    }
    ASSERT_TRUE(tool_.Seed(good));
    Click(kStartButtonId);
    ASSERT_TRUE(PumpUntil([&] { return LogHas(BackupDoneLine(10)) && Enabled(kStartButtonId); })) << Log();

    ASSERT_TRUE(tool_.Seed(damaged));
    // Each restore command takes a while, so the restore still runs when Start is asked for.
    ASSERT_TRUE(tool_.SetFaults("slow 400\r\nonly restore\r\n"));
    Click(kRestoreButtonId);
    PumpFor(4000);
    ASSERT_FALSE(Enabled(kRestoreButtonId)) << "the restore has ended already:\n" << Log();
    // The button as a user clicks it, the window told of a click as another program can, and a
    // backup asked of the passes themselves, as a run from the command line asks.
    Click(kStartButtonId);
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(kStartButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Window(), kStartButtonId)));
    EXPECT_FALSE(handlers_->Passes().StartBackup(Window()));

    EXPECT_FALSE(Enabled(kStartButtonId));
    EXPECT_FALSE(Enabled(kStopButtonId));
    int refused = 0;
    for (const Text& line : SplitText(Log(), "\r\n"))
        refused += FindText(line, kBackupDuringRestoreText) > 0;
    EXPECT_EQ(refused, 1) << "the disabled button takes no click; the passes say why they refuse:\n" << Log();

    auto idle = [&] { return Enabled(kStartButtonId) && !Enabled(kStopButtonId) && Enabled(kRestoreButtonId); };
    ASSERT_TRUE(PumpUntil(idle, 120000)) << Log();
    PumpFor(500);
    ASSERT_TRUE(tool_.ClearFaults());
    for (const auto& [name, content] : good) {
        SCOPED_TRACE(name);
        EXPECT_EQ(tool_.ContentOf(name), content);
        EXPECT_TRUE(tool_.BackupHoldsContent(backups_.File(name + kBackupFileExt), content));
    }
    EXPECT_TRUE(LogHas(RestoreSummaryLine(10, 0))) << Log();
    EXPECT_EQ(FindText(Log(), BackupDoneLine(10)), FindTextBackward(Log(), BackupDoneLine(10)))
        << "a second backup ran:\n" << Log();
}

TEST_F(PassControlTest, TheTitleFollowsEachPassAndReturnsToPlainWhenItEnds) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}, {"C", "3"}}));
    std::vector<std::pair<PassKind, PassResult>> ended;
    handlers_->Passes().SetPassEndedListener(
        [&](PassKind kind, PassResult result) { ended.push_back({kind, result}); });

    Click(kStartButtonId);
    const std::vector<Text> backupTitles =
        TitlesUntil([&] { return Enabled(kStartButtonId) && ended.size() == 1; });
    EXPECT_EQ(backupTitles, (std::vector<Text>{"Entry Keeper", "Entry Keeper - backing up 1/3",
                                               "Entry Keeper - backing up 2/3", "Entry Keeper - backing up 3/3",
                                               "Entry Keeper"}))
        << Log();

    Click(kRestoreButtonId);
    const std::vector<Text> restoreTitles =
        TitlesUntil([&] { return Enabled(kRestoreButtonId) && ended.size() == 2; });
    EXPECT_EQ(restoreTitles, (std::vector<Text>{"Entry Keeper", "Entry Keeper - restoring 1/3",
                                                "Entry Keeper - restoring 2/3", "Entry Keeper - restoring 3/3",
                                                "Entry Keeper"}))
        << Log();
    EXPECT_EQ(ended, (std::vector<std::pair<PassKind, PassResult>>{{PassKind::Backup, PassResult::AllDone},
                                                                   {PassKind::Restore, PassResult::AllDone}}));
}

TEST_F(PassControlTest, StopPutsThePlainTitleBackAtOnce) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
    ASSERT_TRUE(tool_.HangOnBackup());
    Click(kStartButtonId);
    ASSERT_TRUE(PumpUntil([&] { return Title() == "Entry Keeper - backing up 1/2"; })) << Title();
    Click(kStopButtonId);
    EXPECT_EQ(Title(), "Entry Keeper");
    tool_.EndProcesses();
    PumpFor(1000);
    EXPECT_EQ(Title(), "Entry Keeper") << "the stopped pass puts nothing back";
}

// Another copy of the program, running passes on the same program folder, is played by a pass
// lock of the same folder.
TEST_F(PassControlTest, NoPassStartsWhileAnotherCopyRunsPassesOnTheSameFolder) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    PassLock otherCopy(program_.Path());
    ASSERT_EQ(otherCopy.Acquire(), PassLockResult::Held);

    Click(kStartButtonId);
    Click(kRestoreButtonId);
    EXPECT_TRUE(Enabled(kStartButtonId));
    EXPECT_FALSE(Enabled(kStopButtonId));
    EXPECT_TRUE(Enabled(kRestoreButtonId));
    PumpFor(1000);
    int refused = 0;
    for (const Text& line : SplitText(Log(), "\r\n"))
        refused += FindText(line, kPassLockedText) > 0;
    EXPECT_EQ(refused, 2) << Log();
    EXPECT_FALSE(LogHas(kBackupCountTail)) << Log();
    EXPECT_FALSE(LogHas(kRestoreCountTail)) << Log();
    EXPECT_FALSE(FileExists(ManifestPath(program_.Path())));

    otherCopy.Release();
    Click(kStartButtonId);
    ASSERT_TRUE(PumpUntil([&] { return LogHas(BackupDoneLine(1)); })) << Log();
}

// A read-only program folder is a designed case: its passes run without the lock, and say so.
// (The tests run as root, who may write any folder, so the folder's answer is played.)
class PassControlInReadOnlyFolderTest : public PassControlTest {
protected:
    LockFileOpener LockOpener() const override {
        return [](const Text&, DWORD& error) {
            error = ERROR_ACCESS_DENIED;
            return UniqueFileHandle();
        };
    }
};

TEST_F(PassControlInReadOnlyFolderTest, ThePassesRunWithoutTheLockAndSaySo) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}}));
    Click(kStartButtonId);
    // The warning comes before the first of the passes that run together: this restore is the first
    // again once the backup's thread has ended.
    ASSERT_TRUE(PumpUntil([&] { return LogHas(BackupDoneLine(1)) && !handlers_->Passes().AnyRunning(); })) << Log();
    Click(kRestoreButtonId);
    ASSERT_TRUE(PumpUntil([&] { return LogHas(RestoreSummaryLine(1, 0)) && Enabled(kRestoreButtonId); })) << Log();
    const TextArray lines = SplitText(Log(), "\r\n");
    std::vector<Text> warned;
    for (const Text& line : lines) {
        if (FindText(line, kPassUnlockedText) > 0 || FindText(line, kBackupCountTail) > 0 ||
            FindText(line, kRestoreCountTail) > 0)
            warned.push_back(line);
    }
    ASSERT_EQ(warned.size(), 4u) << Log();
    EXPECT_NE(FindText(warned[0], kPassUnlockedText), -1) << "said before the backup";
    EXPECT_NE(FindText(warned[2], kPassUnlockedText), -1) << "said before the restore";
    EXPECT_FALSE(FileExists(PassLockPath(program_.Path())));
}

// While a copy runs passes it holds the lock for them all, and lets go when the last has ended.
TEST_F(PassControlTest, TheLockIsHeldFromTheFirstPassToTheEndOfTheLast) {
    ASSERT_TRUE(tool_.Seed({{"A", "1"}, {"B", "2"}}));
    auto otherCopyCanTake = [&] { return PassLock(program_.Path()).Acquire() == PassLockResult::Held; };
    ASSERT_TRUE(otherCopyCanTake());
    Click(kStartButtonId);
    ASSERT_TRUE(PumpUntil([&] { return LogHas(kBackupCountTail); })) << Log();
    EXPECT_FALSE(otherCopyCanTake());
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kStartButtonId); })) << Log();
    // The pass's thread tells of its end right after the pass's last step.
    EXPECT_TRUE(PumpUntil([&] { return otherCopyCanTake(); }, 10000));

    // A stopped pass still counts until its thread has ended: it may be tidying its files.
    ASSERT_TRUE(tool_.HangOnBackup());
    Click(kStartButtonId);
    ASSERT_TRUE(PumpUntil([&] { return LogHas(EntryLine("A", kBackupStartText, 1, 2)); })) << Log();
    PumpFor(300);
    Click(kStopButtonId);
    EXPECT_FALSE(otherCopyCanTake());
    tool_.EndProcesses();
    EXPECT_TRUE(PumpUntil([&] { return otherCopyCanTake(); }, 20000));
}

}  // namespace
