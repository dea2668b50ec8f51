#include "app/passes/TaskbarProgress.h"

UINT TaskbarButtonCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarButtonCreated");
    return message;
}

void TaskbarProgress::AllowButtonCreatedMessage(HWND window) {
    // A program with higher rights than the shell filters out the shell's messages otherwise.
    ChangeWindowMessageFilterEx(window, TaskbarButtonCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

bool TaskbarProgress::ButtonCreated() {
    if (list_)
        return true;
    ComPtr<ITaskbarList3> list;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, list.putVoid())) ||
        !list || FAILED(list->HrInit()))
        return false;
    list_ = std::move(list);
    return true;
}

void TaskbarProgress::Show(HWND window, uint64_t done, uint64_t total) {
    if (!list_)
        return;
    if (total == 0) {
        list_->SetProgressState(window, TBPF_NOPROGRESS);
        return;
    }
    list_->SetProgressState(window, TBPF_NORMAL);
    list_->SetProgressValue(window, done, total);
}

void TaskbarProgress::Release() {
    list_.reset();
}
