#include "app/passes/WindowProgress.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr UINT_PTR kSubclassId = 0x454B5050;

}  // namespace

std::shared_ptr<WindowProgress> WindowProgress::Attach(HWND window) {
    std::shared_ptr<WindowProgress> progress(new WindowProgress(window));
    // The window's own share: given up when the window is destroyed, whoever else still holds one.
    auto* windowShare = new std::shared_ptr<WindowProgress>(progress);
    if (!window || !SetWindowSubclass(window, &WindowProgress::WindowProc, kSubclassId,
                                      reinterpret_cast<DWORD_PTR>(windowShare))) {
        delete windowShare;
        progress->window_ = nullptr;
        return progress;
    }
    TaskbarProgress::AllowButtonCreatedMessage(window);
    return progress;
}

LRESULT CALLBACK WindowProgress::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* windowShare = reinterpret_cast<std::shared_ptr<WindowProgress>*>(data);
    WindowProgress& self = **windowShare;
    if (message == TaskbarButtonCreatedMessage()) {
        // A restarted shell makes the button anew, without the progress it showed.
        if (self.taskbar_.ButtonCreated())
            self.Update();
    } else if (message == WM_NCDESTROY) {
        self.taskbar_.Release();
        self.window_ = nullptr;
        RemoveWindowSubclass(window, &WindowProgress::WindowProc, kSubclassId);
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        delete windowShare;
        return result;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void WindowProgress::Show(PassKind kind, int position, int total) {
    (kind == PassKind::Backup ? shown_.backup : shown_.restore) = PassPosition{position, total};
    Update();
}

void WindowProgress::Clear(PassKind kind) {
    (kind == PassKind::Backup ? shown_.backup : shown_.restore).reset();
    Update();
}

void WindowProgress::ClearAll() {
    shown_ = {};
    Update();
}

void WindowProgress::Update() {
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
