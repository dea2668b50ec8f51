#pragma once
// The built program started as a child process for a test: from a working copy in a folder of
// the test's choosing (the program keeps its settings and manifest beside itself), found by its
// window and controls as a user or an outside tool would see them, and ended again.
// Control access goes through window messages with timeouts, so a hung program fails the test
// instead of hanging it. Use from one test thread. Declare it after the ScratchFolder that holds
// the working copy, so that the program has ended before its folder is removed.

#include <windows.h>

#include "common/WinHandles.h"
#include "common/portable/Text.h"
#include "tools/windowdriving/PollingWait.h"

class ProgramUnderTest {
public:
    ProgramUnderTest() = default;
    // Ends the program if it still runs: closes its window, and ends the process if that fails.
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // Copies the build's `exeName` into `folder` (unless it is there already), starts it there with
    // `folder` as its current directory, and waits up to `timeoutMs` for its main window to show.
    // False when it cannot be started or no window appears (the process is then ended).
    bool Start(const Text& folder, const Text& exeName = "EntryKeeper.exe", DWORD timeoutMs = 30000);

    // Copies the program as Start does and starts it there with `arguments` after its quoted path,
    // without waiting for its window (a run from the command line may end before one is seen).
    // With `job`, the program runs in that job object from its first instruction on (as the Task
    // Scheduler runs a task). False when it cannot be started.
    bool Launch(const Text& folder, const Text& arguments, const Text& exeName = "EntryKeeper.exe",
                HANDLE job = nullptr);
    // After Launch: waits up to `timeoutMs` for the main window to show, as Start does.
    bool WaitForWindow(DWORD timeoutMs = 30000);
    // The program's main window as it is now (visible, minimized ones included), or null.
    HWND CurrentWindow() const { return FindMainWindow(); }

    // The working copy's path, the process and its main window (null until Start succeeded).
    const Text& ExePath() const { return exePath_; }
    DWORD ProcessId() const { return processId_; }
    HWND Window() const { return window_; }
    // A control of the main window by id, or null.
    HWND Control(int id) const;

    // The control's text; empty when it does not exist or does not answer.
    Text ControlText(int id) const;
    bool SetControlText(int id, const Text& text) const;
    bool IsEnabled(int id) const;
    bool IsChecked(int id) const;
    // Clicks a button as the mouse would: posted, so a handler that opens a dialog does not block
    // the test. False for a missing, hidden or disabled control.
    bool Click(int id) const;

    // Asks the window to close (as its close box does) and waits for the process to end.
    bool Close(DWORD timeoutMs = 15000);
    // Ends the process at once.
    void Kill();
    // Waits up to `timeoutMs` for the process to end by itself.
    bool WaitForExit(DWORD timeoutMs);
    bool HasExited() const;
    // The exit code once the process has ended, STILL_ACTIVE before.
    DWORD ExitCode() const;

private:
    HWND FindMainWindow() const;

    Text exePath_;
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};
