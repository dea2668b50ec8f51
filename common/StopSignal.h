#pragma once
// Cooperative stop. Each pass owns a StopSignal; the Stop button requests it from the window
// thread and the pass checks it before every step that could log, touch a control or start a
// tool command. The pass also installs it as its thread's current signal, so the command runner
// deep below can stop reading early without the signal being threaded through every call.
// Platform-free; safe from any thread.

#include <atomic>
#include <memory>

class StopSignal {
public:
    void Request() { requested_.store(true, std::memory_order_release); }
    bool Requested() const { return requested_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> requested_{false};
};

using StopSignalPtr = std::shared_ptr<StopSignal>;

// The signal installed on the calling thread, or null.
const StopSignalPtr& CurrentThreadStopSignal();

// True when the calling thread has a signal and it was requested.
bool CurrentThreadShouldStop();

// Installs `signal` as the calling thread's current signal for the life of the object.
class ScopedThreadStopSignal {
public:
    explicit ScopedThreadStopSignal(StopSignalPtr signal);
    ~ScopedThreadStopSignal();
    ScopedThreadStopSignal(const ScopedThreadStopSignal&) = delete;
    ScopedThreadStopSignal& operator=(const ScopedThreadStopSignal&) = delete;

private:
    StopSignalPtr previous_;
};
