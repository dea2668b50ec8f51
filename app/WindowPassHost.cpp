#include "app/WindowPassHost.h"

#include <utility>

#include "app/ControlAccess.h"
#include "app/ControlIds.h"
#include "app/Log.h"
#include "app/PassButtons.h"
#include "app/WindowThreadCall.h"
#include "common/PumpingWait.h"

namespace {

int ButtonId(PassButton button) {
    switch (button) {
        case PassButton::Start:
            return kStartButtonId;
        case PassButton::Stop:
            return kStopButtonId;
        case PassButton::Restore:
            return kRestoreButtonId;
    }
    return 0;
}

}  // namespace

WindowPassHost::WindowPassHost(HWND window, StopSignalPtr signal, Text programFolder)
    : window_(window), signal_(std::move(signal)), programFolder_(std::move(programFolder)) {}

Text WindowPassHost::FolderField() {
    return ReadControlText(window_, kFolderFieldId);
}

void WindowPassHost::AppendLog(const Text& message) {
    // On the window thread, the Stop handler and this check cannot interleave.
    RunOnWindowThread(window_, [&] {
        if (!signal_->Requested())
            ::AppendLog(window_, message);
    });
}

void WindowPassHost::SetButtonEnabled(PassButton button, bool enabled) {
    RunOnWindowThread(window_, [&] {
        if (!signal_->Requested())
            SetPassButtonEnabled(window_, ButtonId(button), enabled);
    });
}

void WindowPassHost::Pause(int milliseconds) {
    PumpingWait(milliseconds);
}

Text WindowPassHost::ProgramFolder() {
    return programFolder_;
}

StopSignalPtr WindowPassHost::PassStopSignal() {
    return signal_;
}
