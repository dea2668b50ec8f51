// Entry Keeper's entry point: the thread that runs WinMain becomes the window thread.

#include <windows.h>

#include "app/Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return RunEntryKeeper(instance, showCommand);
}
