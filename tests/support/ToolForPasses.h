#pragma once
// The stand-in tool (StandInTool.h) as the passes of this test process find it: a private copy
// whose folder and program are made ToolDir and ToolPath (process-wide, toollink/portable/
// ToolLocation.h) when the object is made, and a command object that drives it through the real
// runner. Use from one test thread; the passes it is handed to may run on their own.

#include <memory>
#include <vector>

#include "common/portable/Text.h"
#include "tests/support/StandInTool.h"
#include "tooldriver/ToolCommands.h"

class ToolForPasses : public StandInTool {
public:
    ToolForPasses();

    // The command object the passes are given; shared, as a pass may outlive a call.
    std::shared_ptr<ToolCommands> Commands() const { return commands_; }
    // The names the tool lists, in its order, as the program reads them.
    std::vector<Text> ListedNames() const;

private:
    std::shared_ptr<ToolCommands> commands_;
};
