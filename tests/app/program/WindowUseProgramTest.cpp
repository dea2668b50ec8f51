// The window as a user meets it: the built program, driven with real key presses (uidriver.exe
// puts them into the system's input queue) and clicks, against a copy of the stand-in tool that
// is installed, missing, or installed only after the program has started. The keyboard focus
// and the registry value that locates the tool are shared, so these tests run alone.

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <vector>

#include "app/passes/PassControl.h"
#include "app/window/MainWindow.h"
#include "app/window/portable/ControlIds.h"
#include "common/portable/TextOps.h"
#include "tests/app/program/ProgramWithToolTest.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/StrayBackupFiles.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiDriverRun.h"
#include "workers/ManifestFile.h"
#include "workers/portable/PassTexts.h"

namespace {

// A folder nobody may write into, not even the administrator these tests may run as (whom the
// usual read-only permissions do not stop): the kernel's object folder, as Wine shows it.
constexpr char kUnwritableFolder[] = "Z:\\sys";

// A plain window of the test's own, brought to the front: the user working in another program.
class OtherProgramsWindow {
public:
    OtherProgramsWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "EntryKeeperTestOtherProgram";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                  200, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~OtherProgramsWindow() { DestroyWindow(window_); }
    OtherProgramsWindow(const OtherProgramsWindow&) = delete;
    OtherProgramsWindow& operator=(const OtherProgramsWindow&) = delete;

    // True once it is the foreground window.
    bool BringToFront() {
        SetForegroundWindow(window_);
        return WaitUntil([&] { return GetForegroundWindow() == window_; }, 10000);
    }

private:
    HWND window_ = nullptr;
};

// The tool is installed by each test (InstallWithEntries), or not at all.
class WindowUseProgramTest : public ProgramWithToolTest {
protected:
    WindowUseProgramTest() : ProgramWithToolTest(/*installTool=*/false) {}

    // Installs the tool with a few entries.
    void InstallWithEntries() {
        ASSERT_TRUE(tool_.Install());
        ASSERT_TRUE(tool_.Admin("add \"Project notes\" \"Monday: plan\""));
        ASSERT_TRUE(tool_.Admin("add \"\xbf\xcd\xbb\xa7 \xc3\xfb\xb5\xa5\" \"\xd5\xc5\xc8\xfd\""));
        ASSERT_TRUE(tool_.Admin("add \"Budget (draft)\" \"1200\""));
    }

    int LogCount(const Text& text) const { return static_cast<int>(SplitText(Log(), text).size()) - 1; }
    bool IsIdle() const {
        return program_.IsEnabled(kStartButtonId) && !program_.IsEnabled(kStopButtonId) &&
               program_.IsEnabled(kRestoreButtonId);
    }
    bool WaitForIdle() {
        return WaitUntil([&] { return IsIdle(); }, 60000);
    }

    // uidriver.exe against this test's program; true when the command succeeded.
    bool Driver(const Text& arguments) {
        CapturedRunResult run = RunUiDriver(program_.ProcessId(), arguments);
        EXPECT_EQ(run.exitCode, 0u) << arguments << ": " << run.output;
        return run.started && !run.timedOut && run.exitCode == 0;
    }
    // The name of the control that has the keyboard focus ("StopButton"), as uidriver.exe says it.
    Text Focused() {
        CapturedRunResult run = RunUiDriver(program_.ProcessId(), "focused");
        return TrimText(ReplaceText(run.output, "\n", ""));
    }

    // Starts the program against the tool with a few entries, each backed up slowly, and presses
    // Space on Start; returns once Stop is enabled.
    void StartASlowBackupWithTheKeyboard() {
        InstallWithEntries();
        ASSERT_TRUE(tool_.SetFaults("slow 400\r\n"));
        ASSERT_TRUE(program_.Start(programFolder_.Path()));
        ASSERT_TRUE(Driver("focus StartButton"));
        ASSERT_TRUE(Driver("keys space"));
        ASSERT_TRUE(Driver("wait StopButton enabled"));
    }
};

// An empty field used to put every backup into the root of the current drive, and a missing or
// read-only folder failed every entry without saying why. Either way the pass must say once what
// is wrong with which folder, write nothing anywhere, and keep the list of backups as it was.
TEST_F(WindowUseProgramTest, AFolderThatCannotTakeTheBackupsIsNamedOnceAndNothingIsWritten) {
    InstallWithEntries();
    ASSERT_TRUE(program_.Start(programFolder_.Path()));
    ASSERT_TRUE(program_.Click(kStartButtonId));
    ASSERT_TRUE(WaitForLog(kBackupAllDoneLeadIn)) << Log();
    ASSERT_TRUE(WaitForIdle());
    const Text manifest = Manifest();
    ASSERT_FALSE(manifest.empty());
    const std::vector<Text> backups = FilesIn(BackupFolder());
    ASSERT_EQ(backups.size(), 3u);

    // Where stray backups would land: the roots of the drives the program works on.
    const std::set<Text> roots = DriveRootsOf({programFolder_.Path(), tool_.Folder()});
    const std::set<Text> strayBefore = BackupFilesIn(roots);
    ASSERT_FALSE(FileExists(Text(kUnwritableFolder) + "\\probe")) << "precondition";
    ASSERT_FALSE(WriteWholeFile(Text(kUnwritableFolder) + "\\probe", "x")) << "the folder must not be writable";

    const Text missing = programFolder_.File("not there");
    struct Case {
        const char* name;
        Text folder;
        Text problem;
    } cases[] = {
        {"empty", "", kNoFolderText},
        {"missing", missing, kFolderLeadIn + missing + kFolderTail + kFolderMissingText},
        {"read-only", kUnwritableFolder,
         kFolderLeadIn + Text(kUnwritableFolder) + kFolderTail + kFolderNotWritableText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(program_.SetControlText(kFolderFieldId, c.folder));
        ASSERT_TRUE(program_.Click(kStartButtonId));
        const Text line = kNothingBackedUpLeadIn + c.problem + kNothingBackedUpTail;
        ASSERT_TRUE(WaitForLog(line)) << Log();
        EXPECT_TRUE(WaitForIdle());
        EXPECT_EQ(LogCount(line), 1);
        EXPECT_EQ(LogCount(kBackupAllDoneLeadIn), 1) << "only the earlier backup finished";
        EXPECT_EQ(LogCount(kBackupStartText), 3) << "no entry was begun after the earlier backup's three";
        EXPECT_EQ(Manifest(), manifest);
        EXPECT_EQ(FilesIn(BackupFolder()), backups);
        EXPECT_EQ(BackupFilesIn(roots), strayBefore);
    }
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES) << "a missing folder is not created";
}

// Space on Start used to disable Start before Stop was enabled, so the focus slid on to Restore and
// the next Space started a restore in the middle of the backup.
TEST_F(WindowUseProgramTest, KeyboardStartHandsTheFocusToStopAndItComesBackToStart) {
    ASSERT_NO_FATAL_FAILURE(StartASlowBackupWithTheKeyboard());
    EXPECT_EQ(Focused(), "StopButton");
    EXPECT_FALSE(program_.IsEnabled(kStartButtonId));

    // The second Space lands on Stop: the backup stops, no restore starts, and the focus goes back
    // to Start as Stop is disabled.
    ASSERT_TRUE(Driver("keys space"));
    ASSERT_TRUE(WaitForLog("Backup stopped")) << Log();
    EXPECT_TRUE(WaitForIdle());
    EXPECT_FALSE(LogHas(kRestoreCountLeadIn)) << Log();
    EXPECT_FALSE(LogHas(kRestoreToolMissingText)) << Log();
    EXPECT_EQ(Focused(), "StartButton");

    // A backup that ends by itself gives the focus back to Start too.
    ASSERT_TRUE(tool_.SetFaults(""));
    ASSERT_TRUE(Driver("keys space"));
    ASSERT_TRUE(WaitForLog(kBackupAllDoneLeadIn)) << Log();
    EXPECT_TRUE(WaitForIdle());
    EXPECT_EQ(Focused(), "StartButton");
    EXPECT_FALSE(LogHas(kRestoreCountLeadIn)) << Log();
}

// The user starts a backup from the keyboard and works in another program until it has ended.
// Back in the window, the focus must be on Start again, as if they had stayed, and not on the
// folder field, where the next key would change the backup folder.
TEST_F(WindowUseProgramTest, ABackupThatEndsInTheBackgroundGivesTheFocusBackToStart) {
    ASSERT_NO_FATAL_FAILURE(StartASlowBackupWithTheKeyboard());
    ASSERT_EQ(Focused(), "StopButton");

    OtherProgramsWindow other;
    ASSERT_TRUE(other.BringToFront());
    ASSERT_TRUE(WaitForLog(kBackupAllDoneLeadIn)) << Log();
    ASSERT_TRUE(WaitForIdle());

    ASSERT_TRUE(Driver("activate"));
    EXPECT_TRUE(WaitUntil([&] { return Focused() == "StartButton"; }, 5000)) << Focused();
}

// Tab into the log used to select its whole text, so that the next key replaced the whole log.
TEST_F(WindowUseProgramTest, TabIntoTheLogThenALetterKeepsEveryEarlierLine) {
    ASSERT_TRUE(program_.Start(programFolder_.Path()));
    struct Case {
        const char* name;
        const char* from;
        const char* keys;
        const char* typed;
    } cases[] = {
        {"Tab from Restore", "RestoreButton", "keys tab x", "x"},
        {"Shift+Tab from the folder field", "FolderField", "keys shift+tab y", "y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Text before = Log();
        ASSERT_TRUE(before.find(kLogIntroText) != Text::npos);
        ASSERT_TRUE(Driver(Text("focus ") + c.from));
        ASSERT_TRUE(Driver(c.keys));
        ASSERT_TRUE(WaitUntil([&] { return Log() != before; }, 10000));
        EXPECT_EQ(Focused(), "LogBox");
        // The letter went to the end, after everything that was there.
        EXPECT_EQ(Log(), before + c.typed);
    }
}

// The default button is Start; Enter in the folder field used to do nothing.
TEST_F(WindowUseProgramTest, EnterInTheFolderFieldStartsABackup) {
    InstallWithEntries();
    ASSERT_TRUE(program_.Start(programFolder_.Path()));
    ASSERT_TRUE(Driver("focus FolderField"));
    ASSERT_TRUE(Driver("keys enter"));
    ASSERT_TRUE(WaitForLog(kBackupAllDoneLeadIn)) << Log();
    EXPECT_TRUE(WaitForIdle());
    EXPECT_EQ(FilesIn(BackupFolder()).size(), 3u);
    EXPECT_FALSE(Manifest().empty());
    EXPECT_EQ(program_.ControlText(kFolderFieldId), BackupFolder()) << "Enter typed nothing into the field";
}

// Without the tool, every entry looked missing and the restore blamed the first one it could not
// create.
TEST_F(WindowUseProgramTest, RestoreWithoutTheToolSaysSoAndCreatesNothing) {
    InstallWithEntries();
    ASSERT_TRUE(program_.Start(programFolder_.Path()));
    ASSERT_TRUE(program_.Click(kStartButtonId));
    ASSERT_TRUE(WaitForLog(kBackupAllDoneLeadIn)) << Log();
    ASSERT_TRUE(program_.Close());

    // The tool's program goes; its entries stay where they were.
    ASSERT_TRUE(tool_.Admin("clear"));
    ASSERT_TRUE(tool_.Admin("add \"Project notes\" \"scribbled over\""));
    const std::vector<Text> entries = tool_.Entries();
    ASSERT_TRUE(tool_.Uninstall());

    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(programFolder_.Path()));
    ASSERT_TRUE(program.Click(kRestoreButtonId));
    ASSERT_TRUE(WaitUntil([&] { return FindText(program.ControlText(kLogBoxId), kRestoreToolMissingText) > 0; },
                          60000))
        << program.ControlText(kLogBoxId);
    EXPECT_TRUE(WaitUntil([&] { return program.IsEnabled(kRestoreButtonId); }, 10000));
    const Text log = program.ControlText(kLogBoxId);
    EXPECT_EQ(FindText(log, kRestoreCreateText), -1) << log;
    EXPECT_EQ(FindText(log, kCreateFailedText), -1) << log;
    EXPECT_EQ(FindText(log, kRestoreCountLeadIn), -1) << log;
    EXPECT_EQ(tool_.Entries(), entries);
    ASSERT_TRUE(program.Close());
}

// The tool was located once, at start-up: installed later, it stayed "not found" until the
// program was started again.
TEST_F(WindowUseProgramTest, AToolInstalledAfterStartUpIsFoundByBothPasses) {
    ASSERT_TRUE(program_.Start(programFolder_.Path()));
    InstallWithEntries();
    const std::vector<Text> before = tool_.Entries();
    ASSERT_TRUE(program_.Click(kStartButtonId));
    ASSERT_TRUE(WaitForLog(kBackupAllDoneLeadIn)) << Log();
    EXPECT_FALSE(LogHas(kToolMissingText)) << Log();
    EXPECT_EQ(FilesIn(BackupFolder()).size(), 3u);
    ASSERT_TRUE(program_.Close());

    // The restore side: the program starts without the tool, which is installed again afterwards.
    ASSERT_TRUE(tool_.Admin("clear"));
    ASSERT_TRUE(tool_.Uninstall());
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(programFolder_.Path()));
    ASSERT_TRUE(tool_.Install());
    ASSERT_TRUE(program.Click(kRestoreButtonId));
    ASSERT_TRUE(
        WaitUntil([&] { return FindText(program.ControlText(kLogBoxId), kRestoreAllDoneLeadIn) > 0; }, 60000))
        << program.ControlText(kLogBoxId);
    EXPECT_EQ(tool_.Entries(), before);
    ASSERT_TRUE(program.Close());
}

}  // namespace
