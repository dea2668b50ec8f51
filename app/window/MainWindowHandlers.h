#pragma once
// What the main window does on its events, supplied by whoever creates it (the settings, the
// passes and the folder dialog plug in here). Every member runs on the window thread and gets
// the main window's handle; the controls are reached through ControlAccess.h. The defaults do
// nothing. A handler must not wait for a worker thread.

#include <windows.h>

class MainWindowHandlers {
public:
    virtual ~MainWindowHandlers() = default;

    // The window and all its controls exist, in their start-up states; the window is not shown
    // yet. The log receives its introduction right after this returns.
    virtual void OnCreated(HWND window) {}
    // The user closes the window; the controls still exist and keep their contents.
    virtual void OnClosing(HWND window) {}
    // The session ends (log-off, shut-down): the system may end the process as soon as this returns.
    virtual void OnSessionEnding(HWND window) {}
    // StartButton, StopButton, RestoreButton or BrowseButton was clicked.
    virtual void OnStart(HWND window) {}
    virtual void OnStop(HWND window) {}
    virtual void OnRestore(HWND window) {}
    virtual void OnBrowse(HWND window) {}
};
