#pragma once
// The program's one window: the backup folder, the option group, Start, Stop and Restore, and
// the log. Its controls carry the ids of ControlIds.h. It owns its window, controls and font;
// what its events do comes from a MainWindowHandlers.
// The keyboard works as in a dialog: Tab and the arrow keys move the focus, Enter (outside the
// log) presses the push button that has the focus or else Start, the default button, and the
// default look follows. Tab into the log puts the caret at its end and selects nothing, so a key
// pressed there never replaces the log.
// The thread that calls Create becomes the window thread: it alone may call the members below,
// and it runs the message loop.

#include <windows.h>

#include "app/window/DpiScaling.h"
#include "app/window/MainWindowHandlers.h"
#include "app/window/MainWindowLayout.h"
#include "app/window/portable/ControlIds.h"

// The log's content right after the window has been created (it replaces whatever was there).
inline constexpr char kLogIntroText[] =
    "Start writes every entry of the tool to a backup file in the backup folder, replacing that entry's earlier "
    "backup; it changes nothing in the tool. Restore writes the last backup back into the tool: entries that "
    "still exist are overwritten with their backed-up content, and missing ones are created again. Stop ends a "
    "running backup. Every step is logged below.\r\n";

class MainWindow {
public:
    // `handlers` must outlive the window; null means handlers that do nothing.
    explicit MainWindow(MainWindowHandlers* handlers = nullptr);
    // Destroys the window if it still exists (without the closing event).
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls in their idle states (StartButton and RestoreButton
    // enabled, StopButton disabled, OptionButton3 selected), runs the handlers' OnCreated, puts
    // kLogIntroText into the log, then shows the window with `showCommand` (SW_HIDE leaves it
    // hidden). False when the window could not be created.
    bool Create(HINSTANCE instance, int showCommand);

    // Runs the message loop until the window has been closed; returns the exit code posted with
    // the end of the loop (0 when the user closed the window).
    int RunMessageLoop();

    // The window, or null before Create and after it has been destroyed.
    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool OnCreate();
    void OnCommand(HWND control, int notification);
    // Enter outside a multi-line box: presses the push button that has the focus, else Start.
    void OnEnter();
    // The dialog manager's request to move the focus (a label's Alt key asks for the control after
    // the label): `which` is that control when `isControl`, else 0 for the next tab stop and
    // nonzero for the one before.
    void OnNextControl(WPARAM which, bool isControl);
    // The push button Enter presses now: the focused push button, else Start.
    HWND DefaultButton() const;
    void ShowDefaultButton();
    void OnClose();
    void OnDestroy();
    void OnSize(int clientWidth, int clientHeight);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnDpiChanged(int dpi, const RECT* suggested);
    void OnActivate(bool active);
    void OnSetFocus();

    HWND CreateChild(const char* className, const char* caption, DWORD style, DWORD exStyle, int id);
    void ApplyFontAndMetrics();
    void LayOut();

    MainWindowHandlers* handlers_;
    HWND window_ = nullptr;
    UniqueGdiObject font_;
    int dpi_ = kDefaultDpi;
    MainWindowMetrics metrics_;
    // The three labels (folder, option, log); they have no ids of their own.
    HWND labels_[3] = {};
    // The control that had the keyboard focus when the window was last deactivated.
    HWND lastFocus_ = nullptr;
};
