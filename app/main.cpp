// Entry Keeper's entry point: the thread that runs WinMain becomes the window thread.

#include <windows.h>

#include "app/MainWindow.h"
#include "app/MainWindowHandlers.h"
#include "common/ComOwners.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // The window thread's COM apartment: the folder dialog runs on this thread.
    ScopedComInit com;

    MainWindowHandlers handlers;
    MainWindow window(&handlers);
    if (!window.Create(instance, showCommand))
        return 1;
    return window.RunMessageLoop();
}
