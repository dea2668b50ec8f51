// Entry Keeper's entry point: the thread that runs WinMain becomes the window thread.

#include <windows.h>

#include "app/program/Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const int exitCode = RunEntryKeeper(instance, showCommand);
    // Ends the process here rather than returning: a returning WinMain runs the runtime's exit
    // handlers, which destroy process-wide objects while a pass that was asked to stop may not
    // have ended yet. ExitProcess ends the other threads first.
    ExitProcess(static_cast<UINT>(exitCode));
}
