#include "tests/support/ProgramUnderTest.h"

#include "app/window/portable/ControlIds.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr UINT kMessageTimeoutMs = 5000;

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (pid == search->processId && IsWindowVisible(window) && lstrcmpA(className, kMainWindowClass) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
    return window &&
           SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, result) != 0;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
}

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
    WindowSearch search{processId_, nullptr};
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramUnderTest::Control(int id) const {
    return window_ ? GetDlgItem(window_, id) : nullptr;
}

Text ProgramUnderTest::ControlText(int id) const {
    HWND control = Control(id);
    DWORD_PTR length = 0;
    if (!Send(control, WM_GETTEXTLENGTH, 0, 0, &length))
        return Text();
    Text text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!Send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied))
        return Text();
    text.resize(copied);
    return text;
}

bool ProgramUnderTest::SetControlText(int id, const Text& text) const {
    DWORD_PTR ok = 0;
    return Send(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &ok) && ok;
}

bool ProgramUnderTest::IsEnabled(int id) const {
    HWND control = Control(id);
    return control && IsWindowEnabled(control);
}

bool ProgramUnderTest::IsChecked(int id) const {
    DWORD_PTR state = 0;
    return Send(Control(id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool ProgramUnderTest::Click(int id) const {
    HWND control = Control(id);
    if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control))
        return false;
    return PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
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
