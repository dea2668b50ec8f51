#include "common/portable/StopSignal.h"

#include <algorithm>
#include <utility>

namespace {

// The thread's innermost scope. A plain pointer on purpose: a per-thread object with a destructor
// is destroyed at thread exit by this toolchain's run-time after the thread's storage for it may
// already be freed, and a pass thread then crashed as it ended.
thread_local const ScopedThreadStopSignal* tScope = nullptr;

const StopSignalPtr kNoSignal;

}  // namespace

void StopSignal::RequestAfter(std::chrono::milliseconds delay) {
    const Clock::rep due = (Clock::now() + std::max(delay, std::chrono::milliseconds(0))).time_since_epoch().count();
    deadline_.store(std::max(due, kNoDeadline + 1), std::memory_order_release);
}

bool StopSignal::Requested() const {
    if (requested_.load(std::memory_order_acquire))
        return true;
    const Clock::rep due = deadline_.load(std::memory_order_acquire);
    return due != kNoDeadline && Clock::now().time_since_epoch().count() >= due;
}

const StopSignalPtr& CurrentThreadStopSignal() {
    return tScope ? tScope->Signal() : kNoSignal;
}

bool CurrentThreadShouldStop() {
    const StopSignalPtr& signal = CurrentThreadStopSignal();
    return signal && signal->Requested();
}

ScopedThreadStopSignal::ScopedThreadStopSignal(StopSignalPtr signal) : signal_(std::move(signal)), outer_(tScope) {
    tScope = this;
}

ScopedThreadStopSignal::~ScopedThreadStopSignal() {
    tScope = outer_;
}
