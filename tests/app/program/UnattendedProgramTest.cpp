// The built program run from the command line, as the Task Scheduler runs it, against an installed
// copy of the stand-in tool (found through the registry value an installation writes): one pass,
// the program's end with an exit code, the /log file, the lock between two copies on one program
// folder, the usage message, and the title while a pass runs. The registry value is shared by
// every program of the test prefix, so these tests run alone, and put the value back as they
// found it.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <set>
#include <vector>

#include "app/log/LogFile.h"
#include "app/log/portable/LogRotation.h"
#include "app/passes/PassLock.h"
#include "app/program/ComparablePath.h"
#include "app/program/FullPaths.h"
#include "app/program/ProgramHandlers.h"
#include "app/program/portable/CommandLine.h"
#include "app/window/portable/ControlIds.h"
#include "common/portable/TextOps.h"
#include "tests/app/program/ProgramWithToolTest.h"
#include "tests/support/InstallValueOverride.h"
#include "tests/support/ProcessList.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/StrayBackupFiles.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UnwritableFile.h"
#include "tests/workers/PassLogLines.h"
#include "workers/ManifestFile.h"
#include "workers/portable/PassTexts.h"

namespace {

constexpr DWORD kRunTimeoutMs = 120000;

// "2026/4/17 09:05:07 - " at the start of `line`: the date, then the time of day, then the separator.
bool StartsWithDateAndTime(const Text& line) {
    const size_t space = line.find(' ');
    if (space == Text::npos || line.compare(space + 9, 3, " - ") != 0)
        return false;
    const TextArray date = SplitText(line.substr(0, space), "/");
    const Text time = line.substr(space + 1, 8);
    auto digits = [](const Text& t) { return !t.empty() && t.find_first_not_of("0123456789") == Text::npos; };
    return date.size() == 3 && date[0].size() == 4 && digits(date[0]) && digits(date[1]) && digits(date[2]) &&
           digits(time.substr(0, 2)) && time[2] == ':' && digits(time.substr(3, 2)) && time[5] == ':' &&
           digits(time.substr(6, 2));
}

// The messages of a log file's lines, each line having been checked for its date and time.
std::vector<Text> LoggedMessages(const Text& file) {
    std::vector<Text> messages;
    for (const Text& line : SplitText(ReadWholeFile(file), "\r\n")) {
        EXPECT_TRUE(StartsWithDateAndTime(line)) << line;
        const size_t separator = line.find(" - ");
        messages.push_back(separator == Text::npos ? line : line.substr(separator + 3));
    }
    return messages;
}

// The lines a backup of these entries into `folder` logs when every one is backed up.
std::vector<Text> CleanBackupMessages(const std::vector<Text>& names, const Text& folder) {
    const int count = static_cast<int>(names.size());
    std::vector<Text> messages = {BackupCountLine(count, folder)};
    for (int k = 1; k <= count; ++k) {
        messages.push_back(EntryLine(names[k - 1], kBackupStartText, k, count));
        messages.push_back(EntryLine(names[k - 1], kBackupDoneText, k, count));
    }
    messages.push_back(BackupDoneLine(count));
    return messages;
}

Text TitleOf(HWND window) {
    char title[256] = {};
    if (window)
        GetWindowTextA(window, title, sizeof title);
    return title;
}

struct WindowsOfProcess {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowsOfProcess*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (pid == search->processId && lstrcmpA(className, search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}

// The process's top-level windows of class `className`.
std::vector<HWND> WindowsOf(DWORD processId, const char* className) {
    WindowsOfProcess search{processId, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct OutputRun {
    bool started = false;
    bool ended = false;
    DWORD exitCode = 0;
    Text output;
};

// Runs `commandLine` with its standard output and error going to the file `outputFile`, waits up
// to `timeoutMs` for its end (ending it then) and reads what it wrote. A file rather than a pipe:
// helper processes the system starts on a program's behalf may inherit and hold a pipe open.
OutputRun RunWithOutputFile(const Text& commandLine, const Text& outputFile, DWORD timeoutMs) {
    OutputRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    UniqueFileHandle file(CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                      CREATE_ALWAYS, 0, nullptr));
    if (!file)
        return run;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file.get();
    startup.hStdError = file.get();
    PROCESS_INFORMATION info = {};
    Text line = commandLine;
    run.started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    file.reset();
    if (!run.started)
        return run;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    run.ended = WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0;
    if (!run.ended) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
    }
    GetExitCodeProcess(process.get(), &run.exitCode);
    run.output = ReadWholeFile(outputFile);
    return run;
}

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
    char text[4096] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<Text*>(param) += Text(text) + "\n";
    return TRUE;
}

class UnattendedProgramTest : public ProgramWithToolTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ProgramWithToolTest::SetUp());
        ASSERT_TRUE(WriteWholeFile(SettingsFile(), "[BackupFolder]\r\nBackupFolder=" + BackupFolder() +
                                                       "\r\n[Options]\r\nOption=1\r\n"));
        ASSERT_TRUE(tool_.Admin("add \"A\" \"alpha\""));
        ASSERT_TRUE(tool_.Admin("add \"\xbf\xcd\xbb\xa7 \xc3\xfb\xb5\xa5\" \"\xd5\xc5\xc8\xfd\""));
        ASSERT_TRUE(tool_.Admin("add \"C & D (draft)\" \"gamma\""));
    }

    std::vector<Text> Names() const { return {"A", "\xbf\xcd\xbb\xa7 \xc3\xfb\xb5\xa5", "C & D (draft)"}; }

    // Runs the program in `folder` with `arguments` to its end; its exit code, or STILL_ACTIVE
    // when it did not end in time (it is ended then).
    DWORD Run(const Text& arguments, const Text& folder = Text()) {
        ProgramUnderTest program;
        if (!program.Launch(folder.empty() ? programFolder_.Path() : folder, arguments))
            return STILL_ACTIVE;
        if (!program.WaitForExit(kRunTimeoutMs))
            return STILL_ACTIVE;
        return program.ExitCode();
    }

    ScratchFolder logs_;
};

TEST_F(UnattendedProgramTest, ABackupFromTheCommandLineWritesTheManifestAndADatedLogFileAndExitsZero) {
    const Text settings = ReadWholeFile(SettingsFile());
    const Text log = programFolder_.File("nightly.log");

    EXPECT_EQ(Run("/backup /log:\"" + log + "\""), 0u);

    EXPECT_EQ(LoggedMessages(log), CleanBackupMessages(Names(), BackupFolder()));
    const TextArray lines = SplitText(Manifest(), "\r\n");
    ASSERT_EQ(lines.size(), 3u) << Manifest();
    for (const Text& name : Names())
        EXPECT_TRUE(FileExists(BackupFolder() + "\\" + name + kBackupFileExt)) << name;
    EXPECT_EQ(ReadWholeFile(SettingsFile()), settings) << "a run from the command line leaves the settings alone";

    // A second run appends to the same file, named from where the program starts (its folder here).
    EXPECT_EQ(Run("-BACKUP -Log:nightly.log"), 0u);
    EXPECT_EQ(LoggedMessages(log).size(), 2 * CleanBackupMessages(Names(), BackupFolder()).size());
}

TEST_F(UnattendedProgramTest, TheFolderSwitchBacksUpThereForThisRunOnly) {
    const Text settings = ReadWholeFile(SettingsFile());
    ScratchFolder elsewhere;
    // A relative folder counts from where the program was started (here its own folder), although
    // the passes change the current directory to the tool's.
    ScratchFolder nearby(programFolder_.Path(), "nearby");
    const Text log = logs_.File("run.log");
    struct Case {
        const char* name;
        Text argument;
        Text folder;
    };
    const Case cases[] = {
        {"a full path", "/folder:\"" + elsewhere.Path() + "\"", elsewhere.Path()},
        {"a relative path", "-FOLDER:nearby", nearby.Path()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Run("/backup " + c.argument + " /log:\"" + log + "\""), 0u) << ReadWholeFile(log);
        for (const Text& name : Names()) {
            EXPECT_TRUE(FileExists(c.folder + "\\" + name + kBackupFileExt)) << name;
            EXPECT_FALSE(FileExists(BackupFolder() + "\\" + name + kBackupFileExt)) << name;
        }
        EXPECT_NE(FindText(Manifest(), c.folder + "\\A" + kBackupFileExt), -1) << Manifest();
        EXPECT_EQ(ReadWholeFile(SettingsFile()), settings);
    }
}

// In code page 936 the byte 0x80 is a character of its own (the euro sign), not the first of two:
// a program folder whose name ends in it keeps its own settings and list of backups, and nothing
// goes to the folder above.
TEST_F(UnattendedProgramTest, AProgramFolderEndingInTheEuroSignKeepsItsOwnFiles) {
    ScratchFolder parent;
    ScratchFolder program(parent.Path(), "Entry Keeper \x80");
    ASSERT_FALSE(program.Path().empty());
    ASSERT_TRUE(WriteWholeFile(program.File("EntryKeeper.ini"), ReadWholeFile(SettingsFile())));

    EXPECT_EQ(Run("/backup", program.Path()), 0u);

    EXPECT_EQ(SplitText(ReadWholeFile(ManifestPath(program.Path())), "\r\n").size(), Names().size());
    for (const Text& name : Names())
        EXPECT_TRUE(FileExists(BackupFolder() + "\\" + name + kBackupFileExt)) << name;
    std::vector<Text> above = FilesIn(parent.Path());
    EXPECT_TRUE(above.empty()) << ::testing::PrintToString(above);
}

TEST_F(UnattendedProgramTest, TheExitCodeSaysHowThePassEnded) {
    ScratchFolder noTool;
    struct Case {
        const char* name;
        const char* arguments;
        const char* faults;
        bool withoutTool;
        DWORD exitCode;
        const char* logged;  // a message the log file must hold
    };
    const Case cases[] = {
        {"a clean backup", "/backup", "", false, 0, kBackupAllDoneTail},
        {"backups the tool does not write", "/backup", "backup-silent\r\n", false, 1, kBackupSummaryTail},
        {"a listing that fails", "/backup", "fail-all\r\n", false, 2, kListingNotDoneLeadIn},
        {"no tool for a backup", "/backup", "", true, 2, kToolMissingText},
        {"a clean restore", "/restore", "", false, 0, kRestoreAllDoneTail},
        {"restores the tool refuses", "/restore", "restore-refuse\r\n", false, 1, kRestoreRefusedText},
        {"no tool for a restore", "/restore", "", true, 2, kRestoreToolMissingText},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(tool_.SetFaults(""));
        // Every case starts from a good list of backups, which the failing backups keep.
        ASSERT_EQ(Run("/backup"), 0u);
        ASSERT_TRUE(tool_.SetFaults(c.faults));
        std::optional<InstallValueOverride> missing;
        if (c.withoutTool)
            missing.emplace(noTool.Path());
        const Text log = logs_.File("case " + IntToText(++number) + ".log");

        EXPECT_EQ(Run(Text(c.arguments) + " /log:\"" + log + "\""), c.exitCode);
        const std::vector<Text> messages = LoggedMessages(log);
        EXPECT_TRUE(std::any_of(messages.begin(), messages.end(),
                                [&](const Text& m) { return m.find(c.logged) != Text::npos; }))
            << ReadWholeFile(log);
    }
}

// A scheduled backup into a folder that cannot take it must not pass for one that did its work:
// the log says once which folder and what is wrong, the exit code is 2, and nothing is written:
// no backup file anywhere, the list of backups as it was, no folder made.
TEST_F(UnattendedProgramTest, ABackupIntoAFolderThatCannotTakeItLogsOneLineAndExitsTwo) {
    ASSERT_EQ(Run("/backup"), 0u);
    const Text manifest = Manifest();
    const std::vector<Text> backups = FilesIn(BackupFolder());
    ASSERT_EQ(backups.size(), 3u);
    const std::set<Text> roots = DriveRootsOf({programFolder_.Path(), tool_.Folder()});
    const std::set<Text> strayBefore = BackupFilesIn(roots);
    const Text missing = programFolder_.File("not there");
    const Text gone = programFolder_.File("gone");
    // A drive letter this session does not have, as a scheduled task run without the user sees a
    // mapped drive.
    Text noDrive = "Q:\\Backups";
    for (char letter = 'Q'; letter > 'D' && (GetLogicalDrives() >> (letter - 'A') & 1); --letter)
        noDrive[0] = static_cast<char>(letter - 1);
    struct Case {
        const char* name;
        Text settingsFolder;  // the settings file's backup folder
        Text arguments;
        Text problem;  // as the line words it
    };
    const Case cases[] = {
        {"an empty folder in the settings", "", "", kNoFolderText},
        {"a missing folder in the settings", missing, "", kFolderLeadIn + missing + kFolderTail + kFolderMissingText},
        {"a missing folder on the command line", BackupFolder(), "/folder:\"" + missing + "\"",
         kFolderLeadIn + missing + kFolderTail + kFolderMissingText},
        {"a missing relative folder on the command line", BackupFolder(), "-folder:gone",
         kFolderLeadIn + gone + kFolderTail + kFolderMissingText},
        {"a drive the session does not have", noDrive, "",
         kFolderLeadIn + noDrive + kFolderTail + kFolderDriveMissingText},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(SettingsFile(), "[BackupFolder]\r\nBackupFolder=" + c.settingsFolder + "\r\n"));
        const Text log = logs_.File("case " + IntToText(++number) + ".log");

        EXPECT_EQ(Run("/backup " + c.arguments + " /log:\"" + log + "\""), 2u);
        EXPECT_EQ(LoggedMessages(log), std::vector<Text>{kNothingBackedUpLeadIn + c.problem + kNothingBackedUpTail});
        EXPECT_EQ(Manifest(), manifest);
        EXPECT_EQ(FilesIn(BackupFolder()), backups);
        EXPECT_EQ(BackupFilesIn(roots), strayBefore);
    }
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES) << "a missing folder is not created";
    EXPECT_EQ(GetFileAttributesA(gone.c_str()), INVALID_FILE_ATTRIBUTES) << "a missing folder is not created";
}

TEST_F(UnattendedProgramTest, ARestoreAfterABackupBringsEveryEntryBack) {
    const std::vector<Text> before = tool_.Entries();
    ASSERT_EQ(Run("/backup"), 0u);
    ASSERT_TRUE(tool_.Admin("clear"));
    ASSERT_TRUE(tool_.Admin("add \"A\" \"scribbled over\""));

    const Text log = logs_.File("restore.log");
    EXPECT_EQ(Run("/restore /log:\"" + log + "\""), 0u);
    EXPECT_EQ(tool_.Entries(), before);
    const std::vector<Text> messages = LoggedMessages(log);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), RestoreSummaryLine(3, 0));
}

// A copy the user clicked and a scheduled copy on the same program folder: while the first runs
// a pass, the second does not start one, whichever, and says so; a copy on another folder runs.
TEST_F(UnattendedProgramTest, WhileOneCopyRunsAPassAnotherOnTheSameFolderDoesNotStartOne) {
    ASSERT_TRUE(tool_.SetFaults("hang\r\nonly backup\r\n"));
    ProgramUnderTest clicked;
    ASSERT_TRUE(clicked.Start(programFolder_.Path()));
    ASSERT_TRUE(clicked.Click(kStartButtonId));
    ASSERT_TRUE(WaitUntil([&] { return FindText(clicked.ControlText(kLogBoxId), kBackupStartText) > 0; }, 60000))
        << clicked.ControlText(kLogBoxId);

    // The folder spelled in other letters is the same folder.
    Text sameFolder = programFolder_.Path();
    CharUpperBuffA(sameFolder.data(), static_cast<DWORD>(sameFolder.size()));
    for (const char* pass : {"/backup", "/restore"}) {
        SCOPED_TRACE(pass);
        const Text log = logs_.File(Text(pass + 1) + ".log");
        EXPECT_EQ(Run(Text(pass) + " /log:\"" + log + "\"", sameFolder), 2u);
        EXPECT_EQ(LoggedMessages(log), std::vector<Text>{kPassLockedText});
    }
    ScratchFolder otherProgram;
    EXPECT_EQ(Run("/restore", otherProgram.Path()), 0u) << "another program folder has a lock of its own";
    EXPECT_TRUE(clicked.IsEnabled(kStopButtonId)) << "the clicked copy's backup still runs";

    // Once the clicked copy's pass has ended, the scheduled one runs.
    ASSERT_TRUE(clicked.Click(kStopButtonId));
    tool_.EndProcesses();
    ASSERT_TRUE(tool_.SetFaults(""));
    ASSERT_TRUE(WaitUntil([&] { return Run("/backup /log:\"" + logs_.File("later.log") + "\"") != 2u; }, 30000))
        << ReadWholeFile(logs_.File("later.log"));
    EXPECT_EQ(LoggedMessages(logs_.File("later.log")).back(), BackupDoneLine(3));
    EXPECT_TRUE(clicked.Close());
}

// Copies before the lock was a file kept each other out with a named object whose name anyone could
// work out from the program folder; a program that made it first kept every pass from starting.
TEST_F(UnattendedProgramTest, ANamedObjectAnotherProgramMadeBlocksNoPass) {
    // That name: "Global\EntryKeeper.Passes." and the 64-bit FNV-1a hash of the folder's
    // comparable spelling as UTF-16 code units, low byte first.
    const std::wstring folder = ComparablePath(programFolder_.Path());
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (wchar_t unit : folder) {
        for (unsigned byte : {unit & 0xFFu, (unit >> 8) & 0xFFu}) {
            hash ^= byte;
            hash *= 0x100000001b3ULL;
        }
    }
    char name[64] = {};
    snprintf(name, sizeof name, "Global\\EntryKeeper.Passes.%016llx", static_cast<unsigned long long>(hash));
    UniqueHandle squatter(CreateMutexA(nullptr, TRUE, name));
    ASSERT_TRUE(squatter);

    for (const char* pass : {"/backup", "/restore"}) {
        SCOPED_TRACE(pass);
        const Text log = logs_.File(Text(pass + 1) + ".log");
        EXPECT_EQ(Run(Text(pass) + " /log:\"" + log + "\""), 0u) << ReadWholeFile(log);
    }
    EXPECT_EQ(SplitText(Manifest(), "\r\n").size(), 3u) << Manifest();
}

// A run from the command line ends with its pass; a pass of the other kind started from its
// minimized window would be cut off then, unseen, while the run still reported success.
TEST_F(UnattendedProgramTest, DuringARunFromTheCommandLineTheOtherPassCannotBeStartedFromItsWindow) {
    ASSERT_EQ(Run("/backup"), 0u);
    struct Case {
        const char* arguments;
        const char* faults;
        const char* running;  // a text of the log once the pass hangs in the tool
        int otherButton;
    } cases[] = {
        {"/backup", "hang\r\nonly backup\r\n", kBackupStartText, kRestoreButtonId},
        {"/restore", "hang\r\nonly restore\r\n", kRestoreExistsText, kStartButtonId},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ASSERT_TRUE(tool_.SetFaults(c.faults));
        ProgramUnderTest scheduled;
        ASSERT_TRUE(scheduled.Launch(programFolder_.Path(), c.arguments));
        ASSERT_TRUE(scheduled.WaitForWindow());
        ASSERT_TRUE(WaitUntil([&] { return FindText(scheduled.ControlText(kLogBoxId), c.running) > 0; }, 60000))
            << scheduled.ControlText(kLogBoxId);
        EXPECT_FALSE(scheduled.IsEnabled(c.otherButton));
        EXPECT_FALSE(scheduled.Click(c.otherButton));
        ASSERT_TRUE(tool_.SetFaults(""));
        tool_.EndProcesses();
        EXPECT_TRUE(scheduled.WaitForExit(kRunTimeoutMs)) << "the run still ends with its pass";
    }
}

// A log-off or shut-down in the middle of a pass: the run says in its log that the pass was cut
// off, and its exit code says the pass did not run to its end.
TEST_F(UnattendedProgramTest, APassCutOffByTheEndOfTheSessionIsLoggedAndExitsTwo) {
    ASSERT_EQ(Run("/backup"), 0u) << "a list of backups for the restore";
    ASSERT_TRUE(tool_.SetFaults("slow 300\r\n"));
    struct Case {
        const char* pass;
        const char* progress;  // the title while the pass runs
    };
    const Case cases[] = {{"/backup", "backing up 1/"}, {"/restore", "restoring 1/"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pass);
        const Text log = logs_.File(Text(c.pass + 1) + " cut off.log");
        ProgramUnderTest run;
        ASSERT_TRUE(run.Launch(programFolder_.Path(), Text(c.pass) + " /log:\"" + log + "\""));
        HWND window = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return FindText(TitleOf(window = run.CurrentWindow()), c.progress) > 0; },
                              kRunTimeoutMs));

        // As the system asks and then tells every window; the program may end before it answers.
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer);
        SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer);

        ASSERT_TRUE(run.WaitForExit(30000));
        EXPECT_EQ(run.ExitCode(), 2u);
        // The tool's run that the pass had started is left behind, and its interpreter with it.
        EndProcessesStartedBy(run.ProcessId(), 10000);
        const std::vector<Text> messages = LoggedMessages(log);
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back(), kSessionEndedText);
    }
}

TEST_F(UnattendedProgramTest, TheLogFileIsSetAsideWhenFullReplacingTheOlderOne) {
    const Text log = logs_.File("nightly.log");
    // Nearly full: the first line of the run does not fit any more.
    const Text full = "2026/4/16 02:00:00 - an earlier run\r\n" + Text(kLogFileSizeLimit - 60, 'x') + "\r\n";
    ASSERT_TRUE(WriteWholeFile(log, full));
    ASSERT_TRUE(WriteWholeFile(RotatedLogPath(log), "the oldest lines\r\n"));

    EXPECT_EQ(Run("/backup /log:\"" + log + "\""), 0u);

    EXPECT_EQ(ReadWholeFile(RotatedLogPath(log)), full);
    EXPECT_EQ(LoggedMessages(log), CleanBackupMessages(Names(), BackupFolder()));
}

// A log file that cannot be written (read-only, or locked by a viewer) never stops a pass, and
// the window says so once.
TEST_F(UnattendedProgramTest, ALogFileThatCannotBeWrittenDoesNotStopThePass) {
    const Text log = logs_.File("locked.log");
    UnwritableFile locked(log, "kept\r\n");
    ASSERT_TRUE(locked.IsHeld());

    EXPECT_EQ(Run("/backup /log:\"" + log + "\""), 0u);
    EXPECT_EQ(SplitText(Manifest(), "\r\n").size(), 3u) << Manifest();

    // The same with the window: the log says once that the file could not be written.
    ASSERT_TRUE(DeleteFileA(ManifestPath(programFolder_.Path()).c_str()));
    ProgramUnderTest clicked;
    ASSERT_TRUE(clicked.Launch(programFolder_.Path(), "/log:\"" + log + "\""));
    ASSERT_TRUE(clicked.WaitForWindow());
    ASSERT_TRUE(clicked.Click(kStartButtonId));
    Text text;
    ASSERT_TRUE(WaitUntil([&] { return FindText(text = clicked.ControlText(kLogBoxId), kBackupAllDoneTail) > 0; },
                          60000))
        << text;
    int said = 0;
    for (const Text& line : SplitText(text, "\r\n"))
        said += FindText(line, kLogFileFailedText + log) > 0;
    EXPECT_EQ(said, 1) << text;
    EXPECT_EQ(SplitText(Manifest(), "\r\n").size(), 3u) << Manifest();
    EXPECT_EQ(ReadWholeFile(log), "kept\r\n");
    EXPECT_TRUE(clicked.Close());
}

// Without a pass switch the line was typed by someone at the screen: the usage is a message box.
TEST_F(UnattendedProgramTest, HelpOrAnUnknownSwitchShowsTheUsageAndExitsTwo) {
    const struct {
        const char* name;
        const char* arguments;
        const char* problem;
    } boxCases[] = {
        {"help", "/?", ""},
        {"help with a dash", "-?", ""},
        {"an unknown switch", "/bogus", "Unknown switch: /bogus"},
    };
    for (const auto& c : boxCases) {
        SCOPED_TRACE(c.name);
        ProgramUnderTest program;
        ASSERT_TRUE(program.Launch(programFolder_.Path(), c.arguments));
        std::vector<HWND> boxes;
        Text shown;
        ASSERT_TRUE(WaitUntil(
            [&] {
                boxes = WindowsOf(program.ProcessId(), "#32770");
                shown.clear();
                if (!boxes.empty())
                    EnumChildWindows(boxes.front(), CollectText, reinterpret_cast<LPARAM>(&shown));
                return shown.find("Usage") != Text::npos;
            },
            30000))
            << shown;
        EXPECT_NE(shown.find("EntryKeeper.exe /backup"), Text::npos) << shown;
        EXPECT_NE(shown.find(c.problem), Text::npos) << shown;
        EXPECT_TRUE(WindowsOf(program.ProcessId(), kMainWindowClass).empty()) << "no main window, no pass";
        PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(program.WaitForExit(30000));
        EXPECT_EQ(program.ExitCode(), 2u);
    }
}

// With /backup or /restore the line is a scheduled run's, which nobody may see: a message box would
// wait for ever. The usage goes to the standard output the program inherited and to the /log file
// (unless that is one of the program's own files), and the run ends at once with 2.
TEST_F(UnattendedProgramTest, AScheduledRunThatIsNotUnderstoodWritesTheUsageAndExitsTwoAtOnce) {
    struct Case {
        const char* name;
        Text arguments;
        const char* problem;  // shown above the usage; empty for none
    };
    // A relative log path too long once made full: taken as it stands, it would count from the
    // tool's folder, which every tool command enters.
    const Text longName = Text(MAX_PATH - programFolder_.Path().size(), 'g') + ".log";
    // The settings file by other spellings of its path: forward slashes and a "." step, and its
    // short name.
    Text slashed = SettingsFile();
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    slashed.insert(slashed.rfind('/'), "/.");
    char shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(SettingsFile().c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(Text(shortName), SettingsFile());
    // The settings file by another route: a second name of the same file in another folder.
    const Text hardLink = logs_.File("settings.log");
    ASSERT_TRUE(CreateHardLinkA(hardLink.c_str(), SettingsFile().c_str(), nullptr));
    const Case cases[] = {
        {"help with a pass", "/restore /?", ""},
        {"an unknown switch with a pass", "/backup /bogus", "Unknown switch: /bogus"},
        {"a timeout that is no number", "/backup /timeout:soon", "/timeout needs"},
        {"both passes", "/backup /restore", "one of /backup and /restore"},
        // Log lines appended to the program's own files would damage them.
        {"the list of backups as the log file", "/backup /log:EntryKeeper-backups.txt", kLogOntoOwnFileText},
        {"the settings file in other letters", "/backup /log:ENTRYKEEPER.INI", kLogOntoOwnFileText},
        {"the settings file with slashes", "/backup /log:\"" + slashed + "\"", kLogOntoOwnFileText},
        {"the settings file by its short name", "/backup /log:\"" + Text(shortName) + "\"", kLogOntoOwnFileText},
        {"the settings file with the prefix of paths taken as they are",
         "/backup /log:\"\\\\?\\" + SettingsFile() + "\"", kLogOntoOwnFileText},
        {"the settings file in the device namespace", "/backup /log:\"\\\\.\\" + SettingsFile() + "\"",
         kLogOntoOwnFileText},
        {"the settings file's data stream", "/backup /log:\"" + SettingsFile() + "::$DATA\"", kLogOntoOwnFileText},
        {"the settings file by a second name", "/backup /log:\"" + hardLink + "\"", kLogOntoOwnFileText},
        {"the pass lock's file", "/backup /log:entrykeeper.LOCK", kLogOntoOwnFileText},
        {"a relative log path too long once made full", "/backup /log:\"" + longName + "\"", kPathNotFullText},
    };
    const Text settings = ReadWholeFile(SettingsFile());
    const Text exe = programFolder_.File("EntryKeeper.exe");
    ASSERT_TRUE(CopyFileA(BuiltProgramPath("EntryKeeper.exe").c_str(), exe.c_str(), FALSE));
    // From the program's folder, where relative log paths count from.
    char here[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, here);
    ASSERT_TRUE(SetCurrentDirectoryA(programFolder_.Path().c_str()));
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool ownFile = c.problem == kLogOntoOwnFileText || c.problem == kPathNotFullText;
        const Text log = logs_.File("usage " + IntToText(++number) + ".log");
        const Text arguments = c.arguments + (ownFile ? Text() : " /log:\"" + log + "\"");
        const OutputRun run = RunWithOutputFile("\"" + exe + "\" " + arguments, logs_.File("output.txt"), 20000);
        ASSERT_TRUE(run.started);
        EXPECT_TRUE(run.ended) << "a box or a pass kept the run waiting";
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_NE(run.output.find("Usage"), Text::npos) << run.output;
        EXPECT_NE(run.output.find("EntryKeeper.exe /backup"), Text::npos) << run.output;
        EXPECT_NE(run.output.find("start /wait"), Text::npos) << run.output;
        EXPECT_NE(run.output.find(c.problem), Text::npos) << run.output;
        if (!ownFile) {
            const std::vector<Text> logged = LoggedMessages(log);
            ASSERT_FALSE(logged.empty());
            if (*c.problem) {
                EXPECT_NE(logged.front().find(c.problem), Text::npos) << logged.front();
            } else {
                EXPECT_EQ(logged.front(), "Usage:");
            }
            EXPECT_TRUE(std::any_of(logged.begin(), logged.end(),
                                    [](const Text& m) { return m.find("EntryKeeper.exe /restore") != Text::npos; }));
        }
    }
    SetCurrentDirectoryA(here);
    EXPECT_FALSE(FileExists(ManifestPath(programFolder_.Path())));
    EXPECT_EQ(ReadWholeFile(SettingsFile()), settings);
    EXPECT_FALSE(FileExists(tool_.Folder() + "\\" + longName));
}

TEST_F(UnattendedProgramTest, TheTitleShowsWhatAPassDoesAndThenThePlainTitle) {
    ASSERT_TRUE(tool_.SetFaults("slow 100\r\n"));
    auto noteTitle = [](std::vector<Text>& titles, HWND window) {
        const Text title = TitleOf(window);
        if (window && (titles.empty() || titles.back() != title))
            titles.push_back(title);
    };
    const std::vector<Text> backingUp = {"Entry Keeper - backing up 1/3", "Entry Keeper - backing up 2/3",
                                         "Entry Keeper - backing up 3/3"};

    // Clicked: Start, then Restore.
    ProgramUnderTest clicked;
    ASSERT_TRUE(clicked.Start(programFolder_.Path()));
    for (const int button : {kStartButtonId, kRestoreButtonId}) {
        const bool backup = button == kStartButtonId;
        SCOPED_TRACE(backup ? "Start" : "Restore");
        ASSERT_TRUE(clicked.Click(button));
        std::vector<Text> titles;
        const char* ending = backup ? kBackupAllDoneTail : kRestoreAllDoneTail;
        ASSERT_TRUE(WaitUntil(
            [&] {
                noteTitle(titles, clicked.Window());
                return FindText(clicked.ControlText(kLogBoxId), ending) > 0 &&
                       TitleOf(clicked.Window()) == "Entry Keeper";
            },
            60000))
            << ::testing::PrintToString(titles);
        noteTitle(titles, clicked.Window());
        ASSERT_GE(titles.size(), 2u);
        const std::vector<Text> expected =
            backup ? backingUp
                   : std::vector<Text>{"Entry Keeper - restoring 1/3", "Entry Keeper - restoring 2/3",
                                       "Entry Keeper - restoring 3/3"};
        std::vector<Text> shown(titles.begin() + 1, titles.end() - 1);
        EXPECT_EQ(titles.front(), "Entry Keeper");
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(titles.back(), "Entry Keeper");
    }
    ASSERT_TRUE(clicked.Close());

    // From the command line: the same titles on the minimized window, until the program ends.
    ProgramUnderTest scheduled;
    ASSERT_TRUE(scheduled.Launch(programFolder_.Path(), "/backup"));
    std::vector<Text> titles;
    bool shownNormally = false;
    ASSERT_TRUE(WaitUntil(
        [&] {
            HWND window = scheduled.CurrentWindow();
            shownNormally = shownNormally || (window && !IsIconic(window));
            noteTitle(titles, window);
            return scheduled.HasExited();
        },
        kRunTimeoutMs));
    EXPECT_EQ(scheduled.ExitCode(), 0u);
    EXPECT_FALSE(shownNormally) << "the window of a run from the command line stays minimized";
    std::vector<Text> progress;
    std::copy_if(titles.begin(), titles.end(), std::back_inserter(progress),
                 [](const Text& t) { return t != "Entry Keeper"; });
    EXPECT_EQ(progress, backingUp);
}

// A tool that dies or hangs never costs a good backup, and a scheduled run always ends: a backup
// the tool did not finish leaves the earlier file, a listing it did not finish leaves the list of
// backups, a hung listing or backup is ended with what it started, and a hung restore is left
// running (it writes the tool's own store) while the run ends.
TEST_F(UnattendedProgramTest, AToolThatDiesOrHangsNeverCostsABackupAndTheRunEnds) {
    ASSERT_EQ(Run("/backup"), 0u);
    const Text manifest = Manifest();
    std::vector<Text> backups;
    for (const Text& name : Names())
        backups.push_back(ReadWholeFile(BackupFolder() + "\\" + name + kBackupFileExt));
    struct Case {
        const char* name;
        const char* arguments;
        const char* faults;
        DWORD exitCode;
        const char* logged;
        bool toolLeftRunning;
    };
    const Case cases[] = {
        {"the tool dies writing each backup", "/backup", "die-backup\r\n", 1, kBackupNotDoneTail, false},
        {"the tool is caught writing each backup", "/backup /timeout:1", "backup-torn\r\n", 2, kHungTwiceText,
         false},
        {"the listing dies part-way", "/backup", "die-list 1\r\n", 2, kListingNotDoneLeadIn, false},
        {"the listing hangs", "/backup /timeout:1", "hang\r\nonly list\r\n", 2, kListingNotDoneLeadIn, false},
        {"every backup hangs", "/backup /timeout:1", "hang\r\nonly backup\r\n", 2, kHungTwiceText, false},
        {"the restore's listing dies", "/restore", "die-list 0\r\n", 2, kRestoreListingFailedLeadIn, false},
        {"a restore hangs", "/restore /timeout:1", "hang\r\nonly restore\r\n", 2, kToolLeftRunningTail, true},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(tool_.SetFaults(c.faults));
        const Text log = logs_.File("dies " + IntToText(++number) + ".log");
        const DWORD start = GetTickCount();
        EXPECT_EQ(Run(Text(c.arguments) + " /log:\"" + log + "\""), c.exitCode) << ReadWholeFile(log);
        EXPECT_LT(GetTickCount() - start, 60000u);
        EXPECT_NE(ReadWholeFile(log).find(c.logged), Text::npos) << ReadWholeFile(log);
        EXPECT_EQ(ReadWholeFile(log).find(kBackupAllDoneLeadIn), Text::npos) << ReadWholeFile(log);
        EXPECT_EQ(Manifest(), manifest);
        for (size_t i = 0; i < Names().size(); ++i)
            EXPECT_EQ(ReadWholeFile(BackupFolder() + "\\" + Names()[i] + kBackupFileExt), backups[i]) << Names()[i];
        EXPECT_EQ(FilesIn(BackupFolder()).size(), Names().size()) << "no half-written file is left";
        EXPECT_EQ(!tool_.Processes().empty(), c.toolLeftRunning);
        tool_.EndProcesses();
        ASSERT_TRUE(tool_.SetFaults(""));
    }
    EXPECT_EQ(Run("/restore"), 0u) << "every good backup still restores";
}

// The settings file's [Tool] keys: success codes for a tool that answers with another code, and a
// hang limit; a value that cannot be used is logged once and its default applies. The program
// never writes these keys.
TEST_F(UnattendedProgramTest, TheToolKeysOfTheSettingsFileApply) {
    ASSERT_TRUE(tool_.SetFaults("exit-code 3\r\n"));
    const Text log = logs_.File("codes.log");
    EXPECT_EQ(Run("/backup /log:\"" + log + "\""), 2u) << "code 3 is no success by default";

    const Text settings = "[BackupFolder]\r\nBackupFolder=" + BackupFolder() +
                          "\r\n[Tool]\r\nSuccessExitCodes=0, 3\r\nHangSeconds=soon\r\n";
    ASSERT_TRUE(WriteWholeFile(SettingsFile(), settings));
    const Text second = logs_.File("codes 2.log");
    EXPECT_EQ(Run("/backup /log:\"" + second + "\""), 0u) << ReadWholeFile(second);
    const std::vector<Text> messages = LoggedMessages(second);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                            [](const Text& m) { return m.find("HangSeconds") != Text::npos; }),
              1);
    EXPECT_EQ(messages.back(), BackupDoneLine(3));
    EXPECT_EQ(ReadWholeFile(SettingsFile()), settings) << "never written";

    // HangSeconds as given: a hung backup is given up on after it.
    ASSERT_TRUE(WriteWholeFile(SettingsFile(), "[BackupFolder]\r\nBackupFolder=" + BackupFolder() +
                                                   "\r\n[Tool]\r\nHangSeconds=1\r\n"));
    ASSERT_TRUE(tool_.SetFaults("hang\r\nonly backup\r\n"));
    const Text hung = logs_.File("hung.log");
    EXPECT_EQ(Run("/backup /log:\"" + hung + "\""), 2u);
    EXPECT_NE(ReadWholeFile(hung).find("printed nothing for 1 seconds"), Text::npos) << ReadWholeFile(hung);
}

// The Task Scheduler runs a task inside a job, and stopping the task ends the job. A restore the
// tool is writing must not be ended with it: where the job allows, the restore and create commands
// run outside it; where it does not, they run in it and the log says so once. Listing and backup
// commands run in a job of their own inside it, and a hung one is ended all the same.
TEST_F(UnattendedProgramTest, InsideAJobRestoresBreakAwayWhereAllowedAndSaySoWhereNot) {
    ASSERT_EQ(Run("/backup"), 0u);
    for (const bool breakawayAllowed : {true, false}) {
        SCOPED_TRACE(breakawayAllowed ? "breakaway allowed" : "breakaway refused");
        UniqueHandle job(CreateJobObjectA(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = breakawayAllowed ? JOB_OBJECT_LIMIT_BREAKAWAY_OK : 0;
        ASSERT_TRUE(SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits));

        // A hung restore: left running, outside the job where that is allowed.
        ASSERT_TRUE(tool_.SetFaults("hang\r\nonly restore\r\n"));
        const Text log = logs_.File(Text(breakawayAllowed ? "allowed" : "refused") + ".log");
        ProgramUnderTest run;
        ASSERT_TRUE(run.Launch(programFolder_.Path(), "/restore /timeout:1 /log:\"" + log + "\"", "EntryKeeper.exe",
                               job.get()));
        ASSERT_TRUE(run.WaitForExit(kRunTimeoutMs));
        EXPECT_EQ(run.ExitCode(), 2u);
        const std::vector<Text> messages = LoggedMessages(log);
        EXPECT_EQ(std::count(messages.begin(), messages.end(), Text(kBreakawayRefusedText)), breakawayAllowed ? 0 : 1)
            << ReadWholeFile(log);
        const std::vector<DWORD> tools = tool_.Processes();
        ASSERT_EQ(tools.size(), 1u) << "the hung restore was left running";
        UniqueHandle tool(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, tools[0]));
        BOOL inJob = TRUE;
        ASSERT_TRUE(IsProcessInJob(tool.get(), job.get(), &inJob));
        EXPECT_EQ(inJob == TRUE, !breakawayAllowed);
        // Stopping the task ends its job: the restore outside it runs on.
        TerminateJobObject(job.get(), 1);
        Sleep(500);
        EXPECT_EQ(tool_.Processes().size(), breakawayAllowed ? 1u : 0u);
        tool_.EndProcesses();

        // A hung backup inside the job is ended with what it started.
        ASSERT_TRUE(tool_.SetFaults("hang\r\nonly backup\r\n"));
        UniqueHandle backupJob(CreateJobObjectA(nullptr, nullptr));
        ASSERT_TRUE(
            SetInformationJobObject(backupJob.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits));
        ProgramUnderTest backup;
        ASSERT_TRUE(backup.Launch(programFolder_.Path(), "/backup /timeout:1", "EntryKeeper.exe", backupJob.get()));
        ASSERT_TRUE(backup.WaitForExit(kRunTimeoutMs));
        EXPECT_EQ(backup.ExitCode(), 2u);
        EXPECT_TRUE(tool_.Processes().empty());
        tool_.EndProcesses();
        ASSERT_TRUE(tool_.SetFaults(""));
    }
}

// In the window, a restore left running keeps Restore and the pass lock until the tool has ended,
// so no second restore (of this copy or another) writes the tool's store meanwhile.
TEST_F(UnattendedProgramTest, AHungRestoreKeepsRestoreAndTheLockUntilTheToolEnds) {
    ASSERT_EQ(Run("/backup"), 0u);
    ASSERT_TRUE(tool_.SetFaults("hang\r\nonly restore\r\n"));
    ProgramUnderTest clicked;
    ASSERT_TRUE(clicked.Launch(programFolder_.Path(), "/timeout:1"));
    ASSERT_TRUE(clicked.WaitForWindow());
    ASSERT_TRUE(clicked.Click(kRestoreButtonId));
    ASSERT_TRUE(WaitUntil([&] { return FindText(clicked.ControlText(kLogBoxId), kToolLeftRunningTail) > 0; }, 60000))
        << clicked.ControlText(kLogBoxId);
    Sleep(500);
    EXPECT_FALSE(clicked.IsEnabled(kRestoreButtonId));
    EXPECT_FALSE(clicked.IsEnabled(kStartButtonId)) << "no backup while the tool writes its store";
    EXPECT_EQ(Run("/restore"), 2u) << "another copy is kept out";

    tool_.EndProcesses();
    EXPECT_TRUE(WaitUntil([&] { return clicked.IsEnabled(kRestoreButtonId); }, 30000));
    EXPECT_TRUE(WaitUntil([&] { return clicked.IsEnabled(kStartButtonId); }, 30000)) << "Start is given back too";
    ASSERT_TRUE(tool_.SetFaults(""));
    EXPECT_EQ(Run("/restore"), 0u) << "the lock was let go";
    EXPECT_TRUE(clicked.Close());
}

// A restore left running goes on writing the tool's store after the program has ended, whether a
// command-line run exited at once or the window was closed: until that tool ends, no copy starts a
// pass on the folder (a backup would copy the half-restored entries over their good backups).
TEST_F(UnattendedProgramTest, ARestoreLeftRunningKeepsEveryPassOutAfterTheProgramHasEnded) {
    ASSERT_EQ(Run("/backup"), 0u);
    const Text manifest = Manifest();
    for (const bool fromTheWindow : {false, true}) {
        SCOPED_TRACE(fromTheWindow ? "the window was closed" : "a command-line run");
        ASSERT_TRUE(tool_.SetFaults("hang\r\nonly restore\r\n"));
        if (fromTheWindow) {
            ProgramUnderTest clicked;
            ASSERT_TRUE(clicked.Launch(programFolder_.Path(), "/timeout:1"));
            ASSERT_TRUE(clicked.WaitForWindow());
            ASSERT_TRUE(clicked.Click(kRestoreButtonId));
            ASSERT_TRUE(WaitUntil(
                [&] { return FindText(clicked.ControlText(kLogBoxId), kToolLeftRunningTail) > 0; }, 60000))
                << clicked.ControlText(kLogBoxId);
            ASSERT_TRUE(clicked.Close());
        } else {
            ASSERT_EQ(Run("/restore /timeout:1"), 2u);
        }
        ASSERT_EQ(tool_.Processes().size(), 1u) << "the restore is still running";
        ASSERT_TRUE(tool_.SetFaults(""));
        for (const char* pass : {"/backup", "/restore"}) {
            SCOPED_TRACE(pass);
            const Text log = logs_.File(Text(fromTheWindow ? "closed " : "ended ") + (pass + 1) + ".log");
            EXPECT_EQ(Run(Text(pass) + " /log:\"" + log + "\""), 2u);
            EXPECT_EQ(LoggedMessages(log), std::vector<Text>{kPassLockedText});
        }
        EXPECT_EQ(Manifest(), manifest);

        tool_.EndProcesses();
        EXPECT_TRUE(WaitUntil([&] { return Run("/backup") == 0u; }, 30000)) << "the lock goes with the tool";
    }
}

}  // namespace
