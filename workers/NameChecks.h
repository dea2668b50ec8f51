#pragma once
// Why a name or path cannot be used by a pass, as words for the log. Empty text means it can.
// Platform-free; any thread.

#include "common/Text.h"

// The command layer refuses an argument that IsSafeCommandArgument rejects; this names the first
// offending character ("a double quote", "a percent sign", ...) so the log can say why.
Text CommandRefusalReason(const Text& argument);

// A manifest line is split at the manifest separator and the file at line separators, so a
// name or path holding either cannot be recorded; this names what it holds.
Text ManifestRefusalReason(const Text& text);
