#include "app/passes/RunningPasses.h"

#include <utility>

RunningPasses::RunningPasses(const Text& programFolder, LockFileOpener openLock)
    : lock_(programFolder, std::move(openLock)) {}

void RunningPasses::ShowProgressIn(HWND window) {
    progress_ = WindowProgress::Attach(window);
}

PassLockResult RunningPasses::Begin(PassKind kind) {
    const PassLockResult lock = AnyRunning() ? PassLockResult::Held : lock_.Acquire();
    if (lock != PassLockResult::HeldElsewhere)
        ++Count(kind);
    return lock;
}

void RunningPasses::Abandon(PassKind kind) {
    Uncount(kind);
}

void RunningPasses::End(PassKind kind, PassResult result, bool stopped, bool keepCounted) {
    if (!keepCounted)
        Uncount(kind);
    if (!stopped)
        ClearProgress(kind);
    // Copied first: the listener may replace itself.
    if (PassEndedFn listener = ended_)
        listener(kind, result);
}

void RunningPasses::ReleaseKept(PassKind kind) {
    Uncount(kind);
}

void RunningPasses::Uncount(PassKind kind) {
    int& count = Count(kind);
    if (count > 0)
        --count;
    if (!AnyRunning())
        lock_.Release();
}

void RunningPasses::ShowProgress(PassKind kind, int position, int total) {
    positions_[kind == PassKind::Backup ? 0 : 1] = position;
    if (progress_)
        progress_->Show(kind, position, total);
}

void RunningPasses::ClearProgress(PassKind kind) {
    positions_[kind == PassKind::Backup ? 0 : 1] = 0;
    if (progress_)
        progress_->Clear(kind);
}

void RunningPasses::ClearAllProgress() {
    positions_[0] = positions_[1] = 0;
    if (progress_)
        progress_->ClearAll();
}
