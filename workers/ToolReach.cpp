#include "workers/ToolReach.h"

#include "common/portable/SharedTexts.h"
#include "toollink/portable/ToolLocation.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"
#include "workers/PathIsPresent.h"

bool ToolIsReachable() {
    const Text dir = ToolDir();
    return !dir.empty() && PathIsPresent(dir + kPathSep + kToolExeName);
}

bool ReachTool(ToolCommands& commands) {
    if (ToolIsReachable())
        return true;
    commands.LocateAgain();
    return ToolIsReachable();
}
