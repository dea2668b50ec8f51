#include "app/window/MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/window/ControlAccess.h"
#include "app/window/PassButtons.h"
#include "app/window/PrivateMessages.h"
#include "app/window/WindowThreadCall.h"
#include "app/window/portable/ControlIds.h"
#include "app/window/res/resource.h"
#include "common/GdiOwners.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;
// Client size at first start, in device-independent pixels.
constexpr int kInitialClientWidth = 640;
constexpr int kInitialClientHeight = 460;

constexpr char kFolderLabel[] = "Backup &folder:";
constexpr char kOptionLabel[] = "O&ption:";
constexpr char kLogLabel[] = "&Log:";
constexpr char kBrowseCaption[] = "&Browse...";
constexpr char kStartCaption[] = "&Start";
constexpr char kStopCaption[] = "S&top";
constexpr char kRestoreCaption[] = "&Restore";
constexpr const char* kOptionCaptions[3] = {"Option &1", "Option &2", "Option &3"};
constexpr int kOptionIds[3] = {kOptionButton1Id, kOptionButton2Id, kOptionButton3Id};
constexpr int kPushButtonIds[4] = {kBrowseButtonId, kStartButtonId, kStopButtonId, kRestoreButtonId};

MainWindowHandlers& NoHandlers() {
    static MainWindowHandlers none;
    return none;
}

HMENU ChildId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// Width of a caption in the selected font, without its mnemonic marker.
int CaptionWidth(HDC dc, const char* caption) {
    std::string shown;
    for (const char* c = caption; *c; ++c) {
        if (*c != '&')
            shown += *c;
    }
    SIZE size = {};
    GetTextExtentPoint32A(dc, shown.data(), static_cast<int>(shown.size()), &size);
    return size.cx;
}

MainWindowMetrics Measure(HWND window, HFONT font, int dpi) {
    auto scale = [dpi](int dips) { return ScaleToDpi(dips, dpi); };
    WindowDc windowDc(window);
    HDC dc = windowDc.get();
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA text = {};
    GetTextMetricsA(dc, &text);

    MainWindowMetrics m;
    m.margin = scale(11);
    m.gap = scale(7);
    m.lineHeight = text.tmHeight;
    m.rowHeight = std::max<int>(scale(23), text.tmHeight + scale(8));
    m.labelWidth = std::max(CaptionWidth(dc, kFolderLabel), CaptionWidth(dc, kOptionLabel)) + scale(2);
    m.logLabelWidth = CaptionWidth(dc, kLogLabel) + scale(2);
    int widestCaption = 0;
    for (const char* caption : {kBrowseCaption, kStartCaption, kStopCaption, kRestoreCaption})
        widestCaption = std::max(widestCaption, CaptionWidth(dc, caption));
    m.buttonWidth = std::max(scale(75), widestCaption + scale(20));
    // A radio button is its circle, a space and its caption.
    for (size_t i = 0; i < m.optionWidths.size(); ++i)
        m.optionWidths[i] = scale(13) + scale(6) + CaptionWidth(dc, kOptionCaptions[i]) + scale(4);
    m.minFieldWidth = scale(150);
    m.minLogHeight = scale(80);

    SelectObject(dc, previous);
    return m;
}

void SetIcons(HWND window, HINSTANCE instance) {
    auto load = [instance](int width, int height) {
        HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(IDI_ENTRYKEEPER), IMAGE_ICON, width, height, LR_SHARED);
        return icon ? icon : LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_ICON, 0, 0, LR_SHARED);
    };
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON))));
    SendMessageA(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON))));
}

// The log takes every key but Tab: Tab and Shift+Tab leave it as they leave every other control,
// so the keyboard is never trapped in the log. Entered by Tab it keeps its text: the dialog manager
// would select all of it (so that the next key replaced the whole log); the caret goes to the end.
LRESULT CALLBACK LogBoxProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_GETDLGCODE) {
        LRESULT code = DefSubclassProc(control, message, wParam, lParam) & ~DLGC_HASSETSEL;
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_TAB)
            code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        return code;
    }
    if (message == WM_SETFOCUS) {
        LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        // Only by Tab: a click places the caret where it points, after the focus has arrived.
        if (GetKeyState(VK_TAB) < 0) {
            const LRESULT end = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
            SendMessageA(control, EM_SETSEL, end, end);
            SendMessageA(control, EM_SCROLLCARET, 0, 0);
        }
        return result;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(control, LogBoxProc, 0);
    return DefSubclassProc(control, message, wParam, lParam);
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(instance, kMainWindowClass, &existing))
        return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&wc) != 0;
}

}  // namespace

MainWindow::MainWindow(MainWindowHandlers* handlers) : handlers_(handlers ? handlers : &NoHandlers()) {}

MainWindow::~MainWindow() {
    if (window_) {
        DestroyWindow(window_);
        ReleaseWaitingWindowThreadCalls();
    }
}

bool MainWindow::Create(HINSTANCE instance, int showCommand) {
    if (window_)
        return false;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClass(instance, &MainWindow::WindowProc))
        return false;

    int dpi = SystemDpi();
    RECT frame = {0, 0, ScaleToDpi(kInitialClientWidth, dpi), ScaleToDpi(kInitialClientHeight, dpi)};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
    HWND window =
        CreateWindowExA(kWindowExStyle, kMainWindowClass, kMainWindowTitle, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (!window)
        return false;
    SetIcons(window, instance);
    ShowWindow(window, showCommand);
    if (showCommand != SW_HIDE)
        UpdateWindow(window);
    return true;
}

int MainWindow::RunMessageLoop() {
    MSG msg = {};
    int exitCode = 0;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1) {
            exitCode = -1;
            break;
        }
        // Tab, the arrow keys within the option group and the Alt+letter shortcuts.
        if (window_ && IsDialogMessageA(window_, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (!window_)
        ReleaseWaitingWindowThreadCalls();
    return exitCode;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return result;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_COMMAND:
            if (lParam)
                OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            else if (LOWORD(wParam) == IDOK)
                OnEnter();  // the dialog manager's Enter, when no button is the default one
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_ENDSESSION:
            if (wParam)
                handlers_->OnSessionEnding(window_);
            return 0;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED)
                OnSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETNONCLIENTMETRICS) {
                ApplyFontAndMetrics();
                LayOut();
            }
            break;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam) != WA_INACTIVE);
            break;
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_NEXTDLGCTL:
            OnNextControl(wParam, LOWORD(lParam) != 0);
            return 0;
        case kMsgRunOnWindowThread:
            return CarryOutWindowThreadCall(lParam);
        case kMsgShowDefaultButton:
            ShowDefaultButton();
            return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

HWND MainWindow::CreateChild(const char* className, const char* caption, DWORD style, DWORD exStyle, int id) {
    return CreateWindowExA(exStyle, className, caption, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_, ChildId(id),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE)), nullptr);
}

bool MainWindow::OnCreate() {
    dpi_ = WindowDpi(window_);
    // Created in tab order. WS_GROUP starts the folder row, the option group, the buttons and the
    // log, so the arrow keys move only within the option group and the button row.
    constexpr int kNoId = -1;
    bool created = (labels_[0] = CreateChild("Static", kFolderLabel, SS_LEFT | SS_CENTERIMAGE, 0, kNoId)) &&
                   CreateChild("Edit", "", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kFolderFieldId) &&
                   CreateChild("Button", kBrowseCaption, WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, kBrowseButtonId) &&
                   (labels_[1] = CreateChild("Static", kOptionLabel, SS_LEFT | SS_CENTERIMAGE, 0, kNoId));
    for (int i = 0; created && i < 3; ++i) {
        // No WS_TABSTOP here: a radio button takes it when it is selected, so Tab enters the group
        // at the selected option.
        DWORD style = BS_AUTORADIOBUTTON | BS_NOTIFY | (i == 0 ? WS_GROUP : 0);
        created = CreateChild("Button", kOptionCaptions[i], style, 0, kOptionIds[i]) != nullptr;
    }
    // Start is the default button: Enter in the folder field presses it (OnEnter). BS_NOTIFY tells
    // the window where the focus goes, so the default look can follow it (ShowDefaultButton).
    created =
        created &&
        CreateChild("Button", kStartCaption, WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON | BS_NOTIFY, 0, kStartButtonId) &&
        CreateChild("Button", kStopCaption, WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, kStopButtonId) &&
        CreateChild("Button", kRestoreCaption, WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, kRestoreButtonId) &&
        (labels_[2] = CreateChild("Static", kLogLabel, SS_LEFT, 0, kNoId)) &&
        CreateChild("Edit", "", WS_TABSTOP | WS_GROUP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                    WS_EX_CLIENTEDGE, kLogBoxId);
    if (!created)
        return false;

    // The log grows without bound; 0 lifts the edit box's limit to the largest it allows.
    HWND logBox = GetDlgItem(window_, kLogBoxId);
    SendMessageA(logBox, EM_SETLIMITTEXT, 0, 0);
    SetWindowSubclass(logBox, LogBoxProc, 0, 0);
    ApplyFontAndMetrics();
    LayOut();

    EnableWindow(GetDlgItem(window_, kStopButtonId), FALSE);
    SendMessageA(GetDlgItem(window_, kOptionButton3Id), BM_SETCHECK, BST_CHECKED, 0);
    lastFocus_ = GetDlgItem(window_, kStartButtonId);

    handlers_->OnCreated(window_);
    WriteControlText(window_, kLogBoxId, kLogIntroText);
    return true;
}

void MainWindow::OnCommand(HWND control, int notification) {
    if (GetParent(control) != window_)
        return;
    if (notification == BN_SETFOCUS || notification == EN_SETFOCUS) {
        PostMessageA(window_, kMsgShowDefaultButton, 0, 0);
        return;
    }
    // Enter reaches a default button by the dialog manager even while it is disabled.
    if (notification != BN_CLICKED || !IsWindowEnabled(control))
        return;
    switch (GetDlgCtrlID(control)) {
        case kStartButtonId:
            handlers_->OnStart(window_);
            break;
        case kStopButtonId:
            handlers_->OnStop(window_);
            break;
        case kRestoreButtonId:
            handlers_->OnRestore(window_);
            break;
        case kBrowseButtonId:
            handlers_->OnBrowse(window_);
            break;
    }
}

HWND MainWindow::DefaultButton() const {
    HWND focus = GetFocus();
    for (int id : kPushButtonIds) {
        if (focus && focus == GetDlgItem(window_, id))
            return focus;
    }
    return GetDlgItem(window_, kStartButtonId);
}

void MainWindow::OnNextControl(WPARAM which, bool isControl) {
    // Only a dialog answers this message by itself; without this a label's Alt key did nothing.
    HWND target = isControl ? reinterpret_cast<HWND>(which) : GetNextDlgTabItem(window_, GetFocus(), which != 0);
    if (!target || GetParent(target) != window_ || !IsWindowEnabled(target))
        return;
    const LRESULT code = SendMessageA(target, WM_GETDLGCODE, 0, 0);
    // An option group is entered at its selected option, as Tab enters it.
    if (code & DLGC_RADIOBUTTON) {
        HWND option = target;
        do {
            if (SendMessageA(option, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                target = option;
                break;
            }
            option = GetNextDlgGroupItem(window_, option, FALSE);
        } while (option && option != target);
    }
    // A field entered by the keyboard has its text selected, as in a dialog (the log declines).
    if (code & DLGC_HASSETSEL)
        SendMessageA(target, EM_SETSEL, 0, -1);
    SetFocus(target);
}

void MainWindow::OnEnter() {
    if (HWND button = DefaultButton())
        OnCommand(button, BN_CLICKED);
}

void MainWindow::ShowDefaultButton() {
    HWND chosen = DefaultButton();
    for (int id : kPushButtonIds) {
        HWND button = GetDlgItem(window_, id);
        if (!button)
            continue;
        const DWORD type = button == chosen ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) != type)
            SendMessageA(button, BM_SETSTYLE, type, TRUE);
    }
}

void MainWindow::OnClose() {
    handlers_->OnClosing(window_);
    DestroyWindow(window_);
}

void MainWindow::OnDestroy() {
    PostQuitMessage(0);
}

void MainWindow::OnSize(int, int) {
    LayOut();
}

void MainWindow::OnGetMinMaxInfo(MINMAXINFO* info) {
    if (!font_)
        return;
    SIZE minimum = MinimumClientSize(metrics_);
    RECT frame = {0, 0, minimum.cx, minimum.cy};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
    info->ptMinTrackSize.x = frame.right - frame.left;
    info->ptMinTrackSize.y = frame.bottom - frame.top;
}

void MainWindow::OnDpiChanged(int dpi, const RECT* suggested) {
    dpi_ = dpi > 0 ? dpi : kDefaultDpi;
    ApplyFontAndMetrics();
    if (suggested) {
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayOut();
}

void MainWindow::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus))
            lastFocus_ = focus;
    }
}

void MainWindow::OnSetFocus() {
    HWND target = lastFocus_;
    // Disabled while the window was in the background (a pass ended meanwhile): the focus goes
    // where it would have gone in the foreground, so it comes back to Start, not to the field.
    if (target && IsWindow(target) && !IsWindowEnabled(target)) {
        HWND heir = FocusHeir(window_, target);
        target = heir ? heir : GetNextDlgTabItem(window_, target, FALSE);
    }
    if (!target || !IsWindow(target) || !IsWindowEnabled(target))
        target = GetNextDlgTabItem(window_, nullptr, FALSE);
    if (target)
        SetFocus(target);
}

void MainWindow::ApplyFontAndMetrics() {
    UniqueGdiObject font = CreateMessageFont(dpi_);
    HFONT shown = font ? static_cast<HFONT>(font.get()) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    // The old font goes only now that no control uses it any more.
    font_ = std::move(font);
    metrics_ = Measure(window_, shown, dpi_);
}

void MainWindow::LayOut() {
    if (!window_)
        return;
    RECT client = {};
    GetClientRect(window_, &client);
    MainWindowLayout layout = LayOutMainWindow(metrics_, client.right, client.bottom);

    const std::pair<HWND, RECT> places[] = {
        {labels_[0], layout.folderLabel},
        {GetDlgItem(window_, kFolderFieldId), layout.folderField},
        {GetDlgItem(window_, kBrowseButtonId), layout.browseButton},
        {labels_[1], layout.optionLabel},
        {GetDlgItem(window_, kOptionButton1Id), layout.optionButtons[0]},
        {GetDlgItem(window_, kOptionButton2Id), layout.optionButtons[1]},
        {GetDlgItem(window_, kOptionButton3Id), layout.optionButtons[2]},
        {GetDlgItem(window_, kStartButtonId), layout.startButton},
        {GetDlgItem(window_, kStopButtonId), layout.stopButton},
        {GetDlgItem(window_, kRestoreButtonId), layout.restoreButton},
        {labels_[2], layout.logLabel},
        {GetDlgItem(window_, kLogBoxId), layout.logBox},
    };
    // One batch moves every control at once, without a flicker in between; should the system refuse
    // the batch, each control is moved on its own.
    HDWP batch = BeginDeferWindowPos(static_cast<int>(std::size(places)));
    for (const auto& [control, r] : places) {
        if (batch && control) {
            batch = DeferWindowPos(batch, control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (batch && EndDeferWindowPos(batch))
        return;
    for (const auto& [control, r] : places) {
        if (control) {
            SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}
