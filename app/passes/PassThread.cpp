#include "app/passes/PassThread.h"

#include <process.h>

#include <memory>

namespace {

unsigned __stdcall PassThreadMain(void* argument) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(argument));
    (*body)();
    return 0;
}

}  // namespace

UniqueHandle StartPassThread(std::function<void()> body) {
    auto owned = std::make_unique<std::function<void()>>(std::move(body));
    // The C runtime's own thread start, so its per-thread state is set up and released with the thread.
    uintptr_t thread = _beginthreadex(nullptr, 0, &PassThreadMain, owned.get(), 0, nullptr);
    if (thread == 0)
        return UniqueHandle();
    (void)owned.release();  // the thread owns it now
    return UniqueHandle(reinterpret_cast<HANDLE>(thread));
}

bool IsThreadRunning(const UniqueHandle& thread) {
    return thread && WaitForSingleObject(thread.get(), 0) == WAIT_TIMEOUT;
}
