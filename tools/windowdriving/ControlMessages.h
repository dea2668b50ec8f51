#pragma once
// Reading and changing a control of another program's window through window messages that give
// up after a few seconds (SendMessageTimeout, SMTO_ABORTIFHUNG), so a hung program fails the
// caller instead of hanging it. Any thread. A null or vanished control fails like one that does
// not answer.

#include <windows.h>

#include "common/portable/Text.h"

// Sends `message` and stores its result; false when the window is null, hung or too slow.
bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result);

// The control's whole text (line breaks as they are). False when it does not answer.
bool GetTextTimed(HWND control, Text* text);
// Replaces the control's text; false when it does not answer or refuses the text.
bool SetTextTimed(HWND control, const Text& text);
// Whether a check box or radio button is checked. False when it does not answer.
bool GetCheckedTimed(HWND control, bool* checked);
// Clicks a button as the mouse would: posted, so a handler that opens a dialog does not block the
// caller. False for a null, hidden or disabled control (where a click does nothing) or when the
// click cannot be posted.
bool ClickControl(HWND control);
