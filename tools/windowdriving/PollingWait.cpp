#include "tools/windowdriving/PollingWait.h"

namespace {

constexpr DWORD kPollMs = 10;

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
}
