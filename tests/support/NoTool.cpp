#include "tests/support/NoTool.h"

std::shared_ptr<ToolCommands> NoTool() {
    return std::make_shared<ToolCommands>([](const Text&, const ChunkObserver*, bool) { return Text(); });
}
