#pragma once
// Cooperative stop. Each pass owns a StopSignal; the Stop button requests it from the window
// thread and the pass checks it before every step that could log, touch a control or start a
// tool command. The pass also installs it as its thread's current signal, so the command runner
// deep below can stop reading early without the signal being threaded through every call.
// A signal can also be given a deadline, from which on it reads as requested by itself: start-up
// bounds its wait for the tool that way.
// Platform-free; safe from any thread.

#include <atomic>
#include <chrono>
#include <memory>

class StopSignal {
public:
    void Request() { requested_.store(true, std::memory_order_release); }
    // The signal reads as requested once `delay` from now has passed (and from then on), without
    // anyone calling Request. A later call replaces the deadline; a Request still holds.
    void RequestAfter(std::chrono::milliseconds delay);
    bool Requested() const;

private:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::rep kNoDeadline = 0;

    std::atomic<bool> requested_{false};
    // Clock ticks since the clock's epoch, or kNoDeadline.
    std::atomic<Clock::rep> deadline_{kNoDeadline};
};

using StopSignalPtr = std::shared_ptr<StopSignal>;

// The signal installed on the calling thread, or null.
const StopSignalPtr& CurrentThreadStopSignal();

// True when the calling thread has a signal and it was requested.
bool CurrentThreadShouldStop();

// Installs `signal` as the calling thread's current signal for the life of the object, which
// holds it; scopes on one thread nest (the innermost one's signal is current).
class ScopedThreadStopSignal {
public:
    explicit ScopedThreadStopSignal(StopSignalPtr signal);
    ~ScopedThreadStopSignal();
    ScopedThreadStopSignal(const ScopedThreadStopSignal&) = delete;
    ScopedThreadStopSignal& operator=(const ScopedThreadStopSignal&) = delete;

    const StopSignalPtr& Signal() const { return signal_; }

private:
    StopSignalPtr signal_;
    const ScopedThreadStopSignal* outer_;
};
