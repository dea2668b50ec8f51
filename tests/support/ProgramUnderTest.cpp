#include "tests/support/ProgramUnderTest.h"

#include "app/window/portable/ControlIds.h"
#include "tests/support/TestPaths.h"
#include "tools/windowdriving/ControlMessages.h"
#include "tools/windowdriving/WindowSearch.h"

ProgramUnderTest::~ProgramUnderTest() {
    if (process_ && !HasExited() && !Close(10000))
        Kill();
}

bool ProgramUnderTest::Start(const Text& folder, const Text& exeName, DWORD timeoutMs) {
    return Launch(folder, Text(), exeName) && WaitForWindow(timeoutMs);
}

bool ProgramUnderTest::WaitForWindow(DWORD timeoutMs) {
    if (!WaitUntil([this] { return (window_ = FindMainWindow()) != nullptr || HasExited(); }, timeoutMs) || !window_) {
        Kill();
        return false;
    }
    return true;
}

bool ProgramUnderTest::Launch(const Text& folder, const Text& arguments, const Text& exeName, HANDLE job) {
    if (process_)
        return false;
    exePath_ = folder + "\\" + exeName;
    if (!FileExists(exePath_) && !CopyFileA(BuiltProgramPath(exeName).c_str(), exePath_.c_str(), TRUE))
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    Text commandLine = "\"" + exePath_ + "\"" + (arguments.empty() ? Text() : " " + arguments);
    if (!CreateProcessA(exePath_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, job ? CREATE_SUSPENDED : 0,
                        nullptr, folder.c_str(), &startup, &info)) {
        return false;
    }
    process_.reset(info.hProcess);
    if (job && !AssignProcessToJobObject(job, info.hProcess)) {
        TerminateProcess(info.hProcess, 1);
        process_.reset();
        CloseHandle(info.hThread);
        return false;
    }
    if (job)
        ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    processId_ = info.dwProcessId;
    return true;
}

HWND ProgramUnderTest::FindMainWindow() const {
    return FindVisibleWindow({processId_, kMainWindowClass, std::nullopt});
}

HWND ProgramUnderTest::Control(int id) const {
    return window_ ? GetDlgItem(window_, id) : nullptr;
}

Text ProgramUnderTest::ControlText(int id) const {
    Text text;
    return GetTextTimed(Control(id), &text) ? text : Text();
}

bool ProgramUnderTest::SetControlText(int id, const Text& text) const {
    return SetTextTimed(Control(id), text);
}

bool ProgramUnderTest::IsEnabled(int id) const {
    HWND control = Control(id);
    return control && IsWindowEnabled(control);
}

bool ProgramUnderTest::IsChecked(int id) const {
    bool checked = false;
    return GetCheckedTimed(Control(id), &checked) && checked;
}

bool ProgramUnderTest::Click(int id) const {
    return ClickControl(Control(id));
}

bool ProgramUnderTest::Close(DWORD timeoutMs) {
    if (!process_)
        return false;
    if (HasExited())
        return true;
    HWND window = window_ ? window_ : FindMainWindow();
    if (window && IsWindow(window))
        PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

void ProgramUnderTest::Kill() {
    if (process_ && !HasExited()) {
        TerminateProcess(process_.get(), 255);
        WaitForSingleObject(process_.get(), 10000);
    }
}

bool ProgramUnderTest::WaitForExit(DWORD timeoutMs) {
    return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

bool ProgramUnderTest::HasExited() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
}

DWORD ProgramUnderTest::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_.get(), &code);
    return code;
}
