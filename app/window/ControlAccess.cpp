#include "app/window/ControlAccess.h"

#include "app/window/WindowThreadCall.h"

namespace {

enum class ControlKind { kOther, kPushButton, kCheckable, kRadioButton, kEdit };

ControlKind KindOf(HWND control) {
    char className[32] = {};
    GetClassNameA(control, className, sizeof(className));
    if (lstrcmpiA(className, "Edit") == 0)
        return ControlKind::kEdit;
    if (lstrcmpiA(className, "Button") != 0)
        return ControlKind::kOther;
    switch (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) {
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return ControlKind::kRadioButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return ControlKind::kCheckable;
        default:
            return ControlKind::kPushButton;
    }
}

bool IsSelectable(ControlKind kind) {
    return kind == ControlKind::kRadioButton || kind == ControlKind::kCheckable;
}

Text WindowText(HWND control) {
    int length = GetWindowTextLengthA(control);
    if (length <= 0)
        return Text();
    Text text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

// The window thread's part of a read.
std::optional<ControlValue> ReadHere(HWND window, int controlId, int property) {
    HWND control = GetDlgItem(window, controlId);
    if (!control)
        return std::nullopt;
    switch (property) {
        case kPropDisabled:
            return IsWindowEnabled(control) ? 0 : 1;
        case kPropText:
            return WindowText(control);
        case kPropSelected:
            if (!IsSelectable(KindOf(control)))
                return std::nullopt;
            return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        case kPropSelectionStart: {
            if (KindOf(control) != ControlKind::kEdit)
                return std::nullopt;
            DWORD start = 0;
            DWORD end = 0;
            SendMessageA(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            return static_cast<int>(start);
        }
        default:
            return std::nullopt;
    }
}

void UnselectGroupSiblings(HWND window, HWND radio) {
    HWND sibling = GetNextDlgGroupItem(window, radio, FALSE);
    while (sibling && sibling != radio) {
        if (KindOf(sibling) == ControlKind::kRadioButton)
            SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        sibling = GetNextDlgGroupItem(window, sibling, FALSE);
    }
}

void Disable(HWND window, HWND control) {
    if (GetFocus() == control) {
        HWND next = GetNextDlgTabItem(window, control, FALSE);
        SetFocus(next && next != control ? next : window);
    }
    EnableWindow(control, FALSE);
}

// The window thread's part of a write.
bool WriteHere(HWND window, int controlId, int property, const ControlValue& value) {
    HWND control = GetDlgItem(window, controlId);
    if (!control)
        return false;
    const bool wantsText = property == kPropText;
    if (wantsText != std::holds_alternative<Text>(value))
        return false;
    switch (property) {
        case kPropDisabled:
            if (std::get<int>(value) != 0)
                Disable(window, control);
            else
                EnableWindow(control, TRUE);
            return true;
        case kPropText:
            return SetWindowTextA(control, std::get<Text>(value).c_str()) != FALSE;
        case kPropSelected: {
            ControlKind kind = KindOf(control);
            if (!IsSelectable(kind))
                return false;
            bool select = std::get<int>(value) != 0;
            if (select && kind == ControlKind::kRadioButton)
                UnselectGroupSiblings(window, control);
            SendMessageA(control, BM_SETCHECK, select ? BST_CHECKED : BST_UNCHECKED, 0);
            return true;
        }
        case kPropSelectionStart: {
            if (KindOf(control) != ControlKind::kEdit)
                return false;
            int position = std::get<int>(value);
            if (position < 0) {
                // The edit box clamps a position past the end to the end; the text length in bytes
                // is never below its length in characters, so it always reaches the end.
                position = GetWindowTextLengthA(control);
            }
            SendMessageA(control, EM_SETSEL, static_cast<WPARAM>(position), static_cast<LPARAM>(position));
            SendMessageA(control, EM_SCROLLCARET, 0, 0);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

std::optional<ControlValue> ReadControlProperty(HWND window, int controlId, int property, int index) {
    if (index != kWholeProperty)
        return std::nullopt;
    std::optional<ControlValue> result;
    RunOnWindowThread(window, [&] { result = ReadHere(window, controlId, property); });
    return result;
}

bool WriteControlProperty(HWND window, int controlId, int property, int index, const ControlValue& value) {
    if (index != kWholeProperty)
        return false;
    bool written = false;
    RunOnWindowThread(window, [&] { written = WriteHere(window, controlId, property, value); });
    return written;
}

int ReadControlInt(HWND window, int controlId, int property) {
    std::optional<ControlValue> value = ReadControlProperty(window, controlId, property, kWholeProperty);
    return value && std::holds_alternative<int>(*value) ? std::get<int>(*value) : -1;
}

Text ReadControlText(HWND window, int controlId) {
    std::optional<ControlValue> value = ReadControlProperty(window, controlId, kPropText, kWholeProperty);
    return value && std::holds_alternative<Text>(*value) ? std::get<Text>(*value) : Text();
}

bool WriteControlInt(HWND window, int controlId, int property, int value) {
    return WriteControlProperty(window, controlId, property, kWholeProperty, ControlValue(value));
}

bool WriteControlText(HWND window, int controlId, const Text& text) {
    return WriteControlProperty(window, controlId, kPropText, kWholeProperty, ControlValue(text));
}
