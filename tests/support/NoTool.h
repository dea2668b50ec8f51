#pragma once
// A command object that starts no tool, for tests of windows that never run a pass: every command
// line it builds is answered with empty text at once. Any thread.

#include <memory>

#include "tooldriver/ToolCommands.h"

std::shared_ptr<ToolCommands> NoTool();
