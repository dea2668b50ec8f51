#include "app/window/PassButtons.h"

#include "app/window/ControlAccess.h"
#include "app/window/portable/ControlIds.h"

namespace {

// The button that takes the focus from `buttonId` when that is disabled; 0 for none.
int HeirOf(int buttonId) {
    switch (buttonId) {
        case kStartButtonId:
            return kStopButtonId;
        case kStopButtonId:
            return kStartButtonId;
        default:
            return 0;
    }
}

}  // namespace

HWND FocusHeir(HWND window, HWND control) {
    const int heirId = control && GetParent(control) == window ? HeirOf(GetDlgCtrlID(control)) : 0;
    HWND heir = heirId ? GetDlgItem(window, heirId) : nullptr;
    return heir && IsWindowEnabled(heir) ? heir : nullptr;
}

void SetPassButtonEnabled(HWND window, int buttonId, bool enabled) {
    if (!enabled) {
        HWND button = GetDlgItem(window, buttonId);
        if (HWND heir = FocusHeir(window, button); heir && GetFocus() == button)
            SetFocus(heir);
    }
    WriteControlInt(window, buttonId, kPropDisabled, enabled ? 0 : 1);
}
