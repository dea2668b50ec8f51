#include "workers/ToolReach.h"

#include "common/SharedTexts.h"
#include "toollink/ToolLocation.h"
#include "toollink/vocabulary/ToolInstallTexts.h"
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
