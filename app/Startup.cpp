#include "app/Startup.h"

#include "app/MainWindow.h"
#include "app/ProgramFolder.h"
#include "app/ProgramHandlers.h"
#include "common/ComOwners.h"

int RunEntryKeeper(HINSTANCE instance, int showCommand) {
    // The window thread's apartment, before any window exists: the folder dialog runs here.
    ScopedComInit com;

    ProgramHandlers handlers(ProgramFolder());
    MainWindow window(&handlers);
    if (!window.Create(instance, showCommand))
        return 1;
    return window.RunMessageLoop();
}
