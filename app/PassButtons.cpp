#include "app/PassButtons.h"

#include "app/ControlAccess.h"
#include "app/ControlIds.h"

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

void SetPassButtonEnabled(HWND window, int buttonId, bool enabled) {
    if (!enabled) {
        HWND button = GetDlgItem(window, buttonId);
        HWND heir = HeirOf(buttonId) ? GetDlgItem(window, HeirOf(buttonId)) : nullptr;
        if (button && GetFocus() == button && heir && IsWindowEnabled(heir))
            SetFocus(heir);
    }
    WriteControlInt(window, buttonId, kPropDisabled, enabled ? 0 : 1);
}
