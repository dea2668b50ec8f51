#include "common/StopSignal.h"

#include <algorithm>
#include <utility>

namespace {
thread_local StopSignalPtr tCurrent;
}

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
    return tCurrent;
}

bool CurrentThreadShouldStop() {
    return tCurrent && tCurrent->Requested();
}

ScopedThreadStopSignal::ScopedThreadStopSignal(StopSignalPtr signal) : previous_(std::exchange(tCurrent, std::move(signal))) {}

ScopedThreadStopSignal::~ScopedThreadStopSignal() {
    tCurrent = std::move(previous_);
}
