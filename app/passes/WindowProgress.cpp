#include "app/passes/PassProgress.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr UINT_PTR kSubclassId = 0x454B5050;

}  // namespace

std::shared_ptr<PassProgress> PassProgress::Attach(HWND window) {
    std::shared_ptr<PassProgress> progress(new PassProgress(window));
    // The window's own share: given up when the window is destroyed, whoever else still holds one.
    auto* windowShare = new std::shared_ptr<PassProgress>(progress);
    if (!window || !SetWindowSubclass(window, &PassProgress::WindowProc, kSubclassId,
                                      reinterpret_cast<DWORD_PTR>(windowShare))) {
        delete windowShare;
        progress->window_ = nullptr;
        return progress;
    }
    TaskbarProgress::AllowButtonCreatedMessage(window);
    return progress;
}

LRESULT CALLBACK PassProgress::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* windowShare = reinterpret_cast<std::shared_ptr<PassProgress>*>(data);
    PassProgress& self = **windowShare;
    if (message == TaskbarButtonCreatedMessage()) {
        // A restarted shell makes the button anew, without the progress it showed.
        if (self.taskbar_.ButtonCreated())
            self.Update();
    } else if (message == WM_NCDESTROY) {
        self.taskbar_.Release();
        self.window_ = nullptr;
        RemoveWindowSubclass(window, &PassProgress::WindowProc, kSubclassId);
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        delete windowShare;
        return result;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void PassProgress::Show(PassKind kind, int position, int total) {
    (kind == PassKind::Backup ? shown_.backup : shown_.restore) = PassPosition{position, total};
    Update();
}

void PassProgress::Clear(PassKind kind) {
    (kind == PassKind::Backup ? shown_.backup : shown_.restore).reset();
    Update();
}

void PassProgress::ClearAll() {
    shown_ = {};
    Update();
}

void PassProgress::Update() {
    if (!window_)
        return;
    const Text title = ProgressTitle(shown_);
    const int length = GetWindowTextLengthA(window_);
    std::vector<char> current(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window_, current.data(), length + 1);
    // Unchanged titles are not set again: every change repaints the caption and the taskbar.
    if (title != current.data())
        SetWindowTextA(window_, title.c_str());
    const WorkDone work = TaskbarWorkDone(shown_);
    taskbar_.Show(window_, work.done, work.total);
}
