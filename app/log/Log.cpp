#include "app/log/Log.h"

#include <atomic>
#include <climits>

#include "app/log/LogClock.h"
#include "app/log/LogFile.h"
#include "app/log/SystemDateText.h"
#include "app/window/WindowThreadCall.h"
#include "app/window/portable/ControlIds.h"

namespace {

std::atomic<HWND> g_logWindow{nullptr};

// Window thread. Appends at the end of the box, whatever the user selected or typed, without
// reading the text back: the edit box clamps a position past the end to the end, in any unit.
void AppendToBox(HWND box, const Text& line) {
    SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(INT_MAX), static_cast<LPARAM>(INT_MAX));
    SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    // The replacement leaves the caret after the new line, which is the very end.
    SendMessageA(box, EM_SCROLLCARET, 0, 0);
}

}  // namespace

void SetLogWindow(HWND window) {
    g_logWindow.store(window);
}

HWND LogWindow() {
    if (HWND named = g_logWindow.load())
        return named;
    const DWORD self = GetCurrentProcessId();
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, kMainWindowClass, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == self)
            return found;
    }
    return nullptr;
}

LogLine MakeLogLine(const Text& message) {
    const Text dateText = EpochMillisToDateText(CurrentEpochMillis());
    return {BoxLogLine(dateText, message), FileLogLine(dateText, message)};
}

bool InsertLogLine(HWND window, const LogLine& line) {
    HWND box = window ? GetDlgItem(window, kLogBoxId) : nullptr;
    if (!box)
        return false;
    AppendToBox(box, line.boxLine);
    return true;
}

void RecordLogLine(HWND window, const LogLine& line) {
    const std::shared_ptr<LogFile> file = RunLogFile();
    if (!file || file->Append(line.fileLine) || !file->TakeFailureToReport())
        return;
    const LogLine failure = MakeLogLine(kLogFileFailedText + file->Path());
    RunOnWindowThread(window, [&] { InsertLogLine(window, failure); });
}

bool AppendLog(HWND window, const Text& message) {
    if (!window || !IsWindow(window))
        return false;
    const LogLine line = MakeLogLine(message);
    bool appended = false;
    RunOnWindowThread(window, [&] { appended = InsertLogLine(window, line); });
    if (appended)
        RecordLogLine(window, line);
    return appended;
}

bool AppendLog(const Text& message) {
    return AppendLog(LogWindow(), message);
}
