#include "app/window/WindowThreadCall.h"

#include <mutex>
#include <unordered_set>

#include "app/window/PrivateMessages.h"

namespace {

// What the window procedure returns when it carried out a call; a window that does not serve the
// message answers 0 (DefWindowProc), and a failed SendMessage gives 0 as well.
constexpr LRESULT kCallCarriedOut = 0x454B;

struct PendingCall {
    const std::function<void()>* fn;
    bool claimed;
};

// The calls whose callers are waiting right now. lParam of the private message is only trusted
// when it names one of them and it has not been carried out yet, so a stray or forged message
// (any program can send WM_APP messages to a window) never becomes a jump through a bad pointer.
std::mutex& PendingMutex() {
    static std::mutex m;
    return m;
}
std::unordered_set<PendingCall*>& PendingCalls() {
    static std::unordered_set<PendingCall*> calls;
    return calls;
}

class ScopedPendingCall {
public:
    explicit ScopedPendingCall(PendingCall* call) : call_(call) {
        std::lock_guard lock(PendingMutex());
        PendingCalls().insert(call_);
    }
    ~ScopedPendingCall() {
        std::lock_guard lock(PendingMutex());
        PendingCalls().erase(call_);
    }
    ScopedPendingCall(const ScopedPendingCall&) = delete;
    ScopedPendingCall& operator=(const ScopedPendingCall&) = delete;

private:
    PendingCall* call_;
};

}  // namespace

bool RunOnWindowThread(HWND window, const std::function<void()>& fn) {
    if (!fn)
        return false;
    DWORD processId = 0;
    DWORD ownerThread = GetWindowThreadProcessId(window, &processId);
    if (ownerThread == 0 || processId != GetCurrentProcessId())
        return false;
    if (ownerThread == GetCurrentThreadId()) {
        fn();
        return true;
    }
    PendingCall call{&fn, false};
    ScopedPendingCall registration(&call);
    LRESULT result = SendMessageA(window, kMsgRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&call));
    return result == kCallCarriedOut;
}

LRESULT CarryOutWindowThreadCall(LPARAM lParam) {
    auto* call = reinterpret_cast<PendingCall*>(lParam);
    {
        std::lock_guard lock(PendingMutex());
        auto found = PendingCalls().find(call);
        if (found == PendingCalls().end() || call->claimed)
            return 0;
        call->claimed = true;
    }
    // The caller is blocked in SendMessage until this returns, so the call stays alive meanwhile.
    (*call->fn)();
    return kCallCarriedOut;
}

void ReleaseWaitingWindowThreadCalls() {
    // Any message call serves the messages sent to this thread; those addressed to a window that
    // no longer exists are answered with 0 at once, and their callers see a failure.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}
