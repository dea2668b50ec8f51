#include "app/Log.h"

#include <algorithm>
#include <atomic>
#include <climits>

#include "app/ControlIds.h"
#include "app/LogClock.h"
#include "app/LogDateText.h"
#include "app/WindowThreadCall.h"
#include "common/SharedTexts.h"
#include "common/TextOps.h"

namespace {

// The time of day is the last eight characters of the date text ("2023/11/15 06:13:20").
constexpr int kStampLength = 8;

std::atomic<HWND> g_logWindow{nullptr};

// Stamp, separator, message and line separator: what one call adds to the log.
Text LogLine(const Text& message) {
    const Text stamp = RightText(EpochMillisToDateText(CurrentEpochMillis()), kStampLength);
    Text line = stamp + kLogSeparator + message + kLineSep;
    std::replace(line.begin(), line.end(), '\0', '?');
    return line;
}

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

bool AppendLog(HWND window, const Text& message) {
    if (!window || !IsWindow(window))
        return false;
    const Text line = LogLine(message);
    bool appended = false;
    RunOnWindowThread(window, [&] {
        HWND box = GetDlgItem(window, kLogBoxId);
        if (!box)
            return;
        AppendToBox(box, line);
        appended = true;
    });
    return appended;
}

bool AppendLog(const Text& message) {
    return AppendLog(LogWindow(), message);
}
