#include "common/PumpingWait.h"

#include <windows.h>

#include <cmath>
#include <limits>

#include "common/WinHandles.h"

namespace {

// Everything a thread can be woken for: keys, mouse, posted, timer, paint, sent and hot-key messages.
constexpr DWORD kWakeMask = 0xFF;

double UnitMultiplier(std::optional<int> unit) {
    switch (unit.value_or(0)) {
        case 0:
            return 1.0;
        case 1:
            return 1000.0;
        case 2:
            return 60000.0;
        case 3:
            return 3600000.0;
        default:
            return static_cast<double>(*unit);
    }
}

double DurationMs(int time, std::optional<int> unit) {
    double duration = static_cast<double>(time) * UnitMultiplier(unit);
    return duration > 0.0 ? duration : 0.0;
}

// Dispatches what is waiting. A WM_QUIT ends the pumping; it is reported through `quitCode`
// instead of being dispatched, so that the caller can post it again at the right moment.
bool PumpUntilEmptyOrQuit(WPARAM* quitCode) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            *quitCode = msg.wParam;
            return true;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return false;
}

// Remembers a quit request met while waiting and posts it again when the wait is over. Posting it
// at once would wake the wait again and again until the time is up.
class QuitKeeper {
public:
    ~QuitKeeper() {
        if (seen_)
            PostQuitMessage(static_cast<int>(code_));
    }
    void Pump() {
        WPARAM code = 0;
        if (PumpUntilEmptyOrQuit(&code)) {
            seen_ = true;
            code_ = code;
        }
    }

private:
    bool seen_ = false;
    WPARAM code_ = 0;
};

// Waiting without a timer, for when the platform refuses one: the same message handling, with the
// time kept by the tick count.
bool WaitByTickCount(ULONGLONG deadline, HANDLE object, QuitKeeper& quit) {
    DWORD count = object ? 1 : 0;
    for (;;) {
        ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        ULONGLONG left = deadline - now;
        DWORD slice = left >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(left);
        DWORD result = MsgWaitForMultipleObjects(count, &object, FALSE, slice, kWakeMask);
        if (object && result == WAIT_OBJECT_0)
            return true;
        if (result == WAIT_OBJECT_0 + count)
            quit.Pump();
        else if (result == WAIT_FAILED)
            Sleep(slice);
    }
}

}  // namespace

long long PumpingWaitDueTime(int time, std::optional<int> unit) {
    double due = DurationMs(time, unit) * -10000.0;
    // The most negative value would be read as "no due time" by some callers; stay one above it.
    constexpr double kLongest = -static_cast<double>(std::numeric_limits<long long>::max());
    if (due <= kLongest)
        return -std::numeric_limits<long long>::max();
    return static_cast<long long>(due);
}

namespace {

// Waits until the due time or until `object` (when given) is signalled, handling messages
// meanwhile. True when the object was signalled.
bool WaitHandlingMessages(long long dueTime, HANDLE object) {
    QuitKeeper quit;
    // Only needed if the timer lets us down; rounded up so such a wait is never shorter.
    ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::ceil(-static_cast<double>(dueTime) / 10000.0));

    UniqueHandle timer(CreateWaitableTimerA(nullptr, FALSE, nullptr));
    LARGE_INTEGER due;
    due.QuadPart = dueTime;
    if (!timer || !SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE))
        return WaitByTickCount(deadline, object, quit);

    // The object comes first: when both are signalled, the wait reports the object.
    HANDLE handles[2] = {object, timer.get()};
    HANDLE* first = object ? handles : handles + 1;
    DWORD count = object ? 2 : 1;
    for (;;) {
        DWORD result = MsgWaitForMultipleObjects(count, first, FALSE, INFINITE, kWakeMask);
        if (result == WAIT_OBJECT_0 + count - 1)
            return false;
        if (object && result == WAIT_OBJECT_0)
            return true;
        if (result == WAIT_FAILED)
            return WaitByTickCount(deadline, object, quit);
        quit.Pump();
    }
}

}  // namespace

bool PumpingWait(int time, std::optional<int> unit) {
    WaitHandlingMessages(PumpingWaitDueTime(time, unit), nullptr);
    return true;
}

bool PumpingWaitFor(void* object, int milliseconds) {
    return WaitHandlingMessages(PumpingWaitDueTime(milliseconds), static_cast<HANDLE>(object));
}

void ProcessPendingMessages() {
    WPARAM code = 0;
    if (PumpUntilEmptyOrQuit(&code))
        PostQuitMessage(static_cast<int>(code));
}
