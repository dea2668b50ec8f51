#include "app/RunningPasses.h"

RunningPasses::RunningPasses(const Text& programFolder) : lock_(programFolder) {}

void RunningPasses::ShowProgressIn(HWND window) {
    progress_ = PassProgress::Attach(window);
}

bool RunningPasses::Begin() {
    if (running_ == 0 && !lock_.Acquire())
        return false;
    ++running_;
    return true;
}

void RunningPasses::Abandon() {
    Uncount();
}

void RunningPasses::End(PassKind kind, PassResult result, bool stopped, bool keepCounted) {
    if (!keepCounted)
        Uncount();
    if (!stopped)
        ClearProgress(kind);
    // Copied first: the listener may replace itself.
    if (PassEndedFn listener = ended_)
        listener(kind, result);
}

void RunningPasses::ReleaseKept() {
    Uncount();
}

void RunningPasses::Uncount() {
    if (running_ > 0 && --running_ == 0)
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
