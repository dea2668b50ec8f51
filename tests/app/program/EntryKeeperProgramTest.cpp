// The whole program against an installed copy of the stand-in tool: found through the registry
// value an installation writes, backed up and restored by clicks, and closed in the middle of
// passes. The registry value is shared by every program of the test prefix, so these tests run
// alone, and put the value back as they found it.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "app/passes/PassControl.h"
#include "app/program/StartupToolTimeLimit.h"
#include "app/window/portable/ControlIds.h"
#include "common/portable/TextOps.h"
#include "tests/app/program/ProgramWithToolTest.h"
#include "tests/support/CapturedRun.h"
#include "tests/support/ProcessList.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/StandInBackupFile.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiDriverRun.h"
#include "workers/ManifestFile.h"
#include "workers/portable/PassTexts.h"

namespace {

class EntryKeeperProgramTest : public ProgramWithToolTest {
protected:
    // The command interpreters running now. These tests run alone, so one that was not running
    // before a test started was started for it.
    static std::set<DWORD> Interpreters() {
        std::set<DWORD> found;
        for (const PROCESSENTRY32& entry : RunningProcesses()) {
            if (EqualsIgnoreCase(entry.szExeFile, "cmd.exe"))
                found.insert(entry.th32ProcessID);
        }
        return found;
    }
    // Waits until the interpreters and tools that an ended program had started have ended too.
    // Under Wine an interpreter whose parent was ended while it was starting may never end (nor
    // start the tool); those are ended here after a grace period, as they would hold the test's
    // output open for ever.
    void WaitForTheProgramsChildren(const std::set<DWORD>& interpretersBefore) const {
        auto strays = [&] {
            std::vector<DWORD> started;
            for (DWORD id : Interpreters()) {
                if (!interpretersBefore.count(id))
                    started.push_back(id);
            }
            return started;
        };
        WaitUntil([&] { return strays().empty() && tool_.Processes().empty(); }, 10000);
        EndProcesses(strays());
        EXPECT_TRUE(WaitUntil([&] { return tool_.Processes().empty(); }, 30000));
    }

    // Starts a program of its own, has it back up the tool's entries to the end and closes it.
    void BackUpInAProgram() {
        ProgramUnderTest program;
        ASSERT_TRUE(program.Start(programFolder_.Path()));
        ASSERT_TRUE(program.Click(kStartButtonId));
        ASSERT_TRUE(
            WaitUntil([&] { return FindText(program.ControlText(kLogBoxId), kBackupAllDoneLeadIn) > 0; }, 60000))
            << program.ControlText(kLogBoxId);
        ASSERT_TRUE(program.Close());
    }
};

TEST_F(EntryKeeperProgramTest, BacksUpTheToolsEntriesAndRestoresThemAfterALoss) {
    ASSERT_TRUE(tool_.Admin("add \"Project notes\" \"Monday: plan\""));
    ASSERT_TRUE(tool_.Admin("add \"\xbf\xcd\xbb\xa7 \xc3\xfb\xb5\xa5\" \"\xd5\xc5\xc8\xfd\""));
    ASSERT_TRUE(tool_.Admin("add \"Budget 2026 (draft)\" \"1200 & 3400\""));
    const std::vector<Text> before = tool_.Entries();
    ASSERT_EQ(before.size(), 3u);

    ASSERT_TRUE(program_.Start(programFolder_.Path()));
    EXPECT_FALSE(LogHas(kStartupNoAnswerText)) << "the tool answered at start-up";
    ASSERT_TRUE(program_.Click(kStartButtonId));
    ASSERT_TRUE(WaitUntil([&] { return LogHas(kBackupAllDoneLeadIn); }, 60000)) << program_.ControlText(kLogBoxId);
    ASSERT_TRUE(WaitUntil([&] { return program_.IsEnabled(kStartButtonId) && !program_.IsEnabled(kStopButtonId); },
                          10000));
    EXPECT_TRUE(FileExists(ManifestPath(programFolder_.Path())));

    // All entries but one are lost, and that one is changed.
    ASSERT_TRUE(tool_.Admin("clear"));
    ASSERT_TRUE(tool_.Admin("add \"Project notes\" \"scribbled over\""));
    ASSERT_TRUE(program_.Click(kRestoreButtonId));
    ASSERT_TRUE(WaitUntil([&] { return LogHas(kRestoreAllDoneLeadIn); }, 60000)) << program_.ControlText(kLogBoxId);
    ASSERT_TRUE(WaitUntil([&] { return program_.IsEnabled(kRestoreButtonId); }, 10000));
    EXPECT_EQ(tool_.Entries(), before);

    ASSERT_TRUE(program_.Close());
    EXPECT_EQ(program_.ExitCode(), 0u);
}

TEST_F(EntryKeeperProgramTest, ClosingWhilePassesHangInTheToolEndsTheProgramCleanly) {
    struct Case {
        const char* name;
        bool withRestore;
    };
    const Case cases[] = {{"a backup runs", false}, {"a backup and a restore run", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(tool_.Admin("clear"));
        ASSERT_TRUE(tool_.Admin("add \"A\" \"1\""));
        // Both passes ask for the tool's listing before anything else; the restore does so only
        // for a line whose backup file exists.
        ASSERT_TRUE(WriteWholeFile(programFolder_.File("A.old"), "backup"));
        ASSERT_TRUE(WriteWholeFile(ManifestPath(programFolder_.Path()),
                                   ManifestLine("A", programFolder_.File("A.old"))));
        ASSERT_TRUE(tool_.Admin("fault \"hang\""));
        ASSERT_TRUE(tool_.Admin("fault \"only list\""));

        ProgramUnderTest program;
        ASSERT_TRUE(program.Start(programFolder_.Path()));
        ASSERT_TRUE(program.Click(kStartButtonId));
        if (c.withRestore) {
            ASSERT_TRUE(program.Click(kRestoreButtonId));
        }
        // The tool's commands run one at a time: a restore waits for the hanging listing of the
        // backup, having logged what it is about to restore.
        ASSERT_TRUE(WaitUntil([&] { return tool_.Processes().size() == 1; }, 30000));
        if (c.withRestore) {
            ASSERT_TRUE(WaitUntil([&] { return FindText(program.ControlText(kLogBoxId), kRestoreCountTail) > 0; },
                                  30000));
        }

        ASSERT_TRUE(program.Close(20000));
        EXPECT_EQ(program.ExitCode(), 0u);
        tool_.EndProcesses();
    }
}

TEST_F(EntryKeeperProgramTest, AToolThatHangsAtStartUpKeepsNeitherTheWindowAwayNorThePassesFromWorking) {
    ASSERT_TRUE(tool_.Admin("add \"A\" \"1\""));
    // Only the target listing, which start-up runs before the window exists, never answers.
    ASSERT_TRUE(tool_.Admin("fault \"hang\""));
    ASSERT_TRUE(tool_.Admin("fault \"only targets\""));

    // Start gives up, ending the program, when no window has shown after this long.
    ASSERT_TRUE(program_.Start(programFolder_.Path(), "EntryKeeper.exe", 60000)) << "no window while the tool hangs";
    // The window did not wait for the tool, which still hangs in its own process.
    EXPECT_EQ(tool_.Processes().size(), 1u);
    CapturedRunResult said = RunUiDriver(program_.ProcessId(),
                                         "wait LogBox text-contains \"" + Text(kStartupNoAnswerText) + "\"");
    EXPECT_EQ(said.exitCode, 0u) << program_.ControlText(kLogBoxId);

    // The passes ask the tool themselves; the abandoned listing holds nothing they need.
    ASSERT_TRUE(program_.Click(kStartButtonId));
    ASSERT_TRUE(WaitUntil([&] { return LogHas(kBackupAllDoneLeadIn); }, 60000)) << program_.ControlText(kLogBoxId);
    EXPECT_TRUE(FileExists(ManifestPath(programFolder_.Path())));

    CapturedRunResult closed = RunUiDriver(program_.ProcessId(), "close");
    EXPECT_EQ(closed.exitCode, 0u) << closed.output;
    ASSERT_TRUE(program_.WaitForExit(20000));
    EXPECT_EQ(program_.ExitCode(), 0u);
}

// Closing the program ends it at once, whatever its passes were doing (so does a crash). Every
// entry's backup must still stand whole under its own name, old or new, and the next pass must
// clear away what the interrupted one left.
TEST_F(EntryKeeperProgramTest, ClosingInTheMiddleOfABackupNeverHidesABackup) {
    const std::vector<Text> names = {"A", "B", "C"};
    auto seed = [&](int round) {
        ASSERT_TRUE(tool_.Admin("clear"));
        for (const Text& name : names)
            ASSERT_TRUE(tool_.Admin("add \"" + name + "\" \"" + name + " of round " + IntToText(round) + "\""));
    };
    auto backupFile = [&](const Text& name) { return BackupFolder() + "\\" + name + ".ekb"; };
    seed(0);
    BackUpInAProgram();

    const std::set<DWORD> interpretersBefore = Interpreters();
    std::mt19937 random(20260417);
    std::uniform_int_distribution<int> delayMs(0, 1200);
    for (int round = 1; round <= 8; ++round) {
        SCOPED_TRACE("round " + IntToText(round));
        seed(round);
        // Odd rounds: the tool writes its file in place and is caught half-way. Even rounds: the
        // program ends at a random moment of an ordinary pass.
        const bool torn = round % 2 == 1;
        ASSERT_TRUE(tool_.SetFaults(torn ? "backup-torn\r\n" : ""));
        ProgramUnderTest program;
        ASSERT_TRUE(program.Start(programFolder_.Path()));
        ASSERT_TRUE(program.Click(kStartButtonId));
        if (torn) {
            ASSERT_TRUE(WaitUntil([&] { return FolderHoldsTornBackup(BackupFolder()); }, 30000));
        } else {
            Sleep(delayMs(random));
        }
        if (round % 4 < 2)
            program.Kill();
        else
            ASSERT_TRUE(program.Close(20000));

        // A command interpreter the program had just started may start the tool only now; the next
        // round's fault switches must not reach that late run.
        if (torn)
            tool_.EndProcesses();
        WaitForTheProgramsChildren(interpretersBefore);
        for (const Text& name : names)
            EXPECT_TRUE(IsStandInBackupOf(backupFile(name), name)) << name << ": " << ReadWholeFile(backupFile(name));
    }

    ASSERT_TRUE(tool_.SetFaults(""));
    BackUpInAProgram();
    std::vector<Text> files = FilesIn(BackupFolder());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<Text>{"A.ekb", "B.ekb", "C.ekb"})) << "nothing of the interrupted passes is left";
    Text name, content;
    ASSERT_TRUE(ReadStandInBackup(backupFile("B"), &name, &content));
    EXPECT_EQ(content, "B of round 8");
}

}  // namespace
