#include "common/StopSignal.h"

#include <utility>

namespace {
thread_local StopSignalPtr tCurrent;
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
