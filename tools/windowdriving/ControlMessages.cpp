#include "tools/windowdriving/ControlMessages.h"

namespace {

// A message that takes longer than this counts as sent to a hung window.
constexpr UINT kMessageTimeoutMs = 5000;

}  // namespace

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
    return window &&
           SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, result) != 0;
}

bool GetTextTimed(HWND control, Text* text) {
    DWORD_PTR length = 0;
    if (!SendWithTimeout(control, WM_GETTEXTLENGTH, 0, 0, &length))
        return false;
    Text buffer(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendWithTimeout(control, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied))
        return false;
    buffer.resize(copied);
    *text = buffer;
    return true;
}

bool SetTextTimed(HWND control, const Text& text) {
    DWORD_PTR ok = 0;
    return SendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &ok) && ok;
}

bool GetCheckedTimed(HWND control, bool* checked) {
    DWORD_PTR state = 0;
    if (!SendWithTimeout(control, BM_GETCHECK, 0, 0, &state))
        return false;
    *checked = state == BST_CHECKED;
    return true;
}

bool ClickControl(HWND control) {
    if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control))
        return false;
    return PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
}
