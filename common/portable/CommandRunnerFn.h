#pragma once
// The shape of "run one command line and give back what it printed". The real runner is
// RunConsoleCommand (tooldriver/CommandRunner.h); tests pass their own to capture the lines built.

#include <functional>

#include "common/portable/Text.h"

// Called once per chunk read from the child's output. `one` and `zero` are always 1 and 0.
// A nonzero return stops the capture; that chunk is then not kept.
using ChunkObserver = std::function<int(const Text& chunk, int one, int zero)>;

// Runs `command` (without launch prefix); returns the captured output, empty on any failure.
using CommandRunnerFn = std::function<Text(const Text& command, const ChunkObserver* observer, bool notifyChunks)>;
