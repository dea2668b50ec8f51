#pragma once
// Why a name or path cannot be used by a pass, as words for the log. Empty text means it can.
// Platform-free; any thread.

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"

// The command layer refuses an argument that IsSafeCommandArgument rejects; this names the first
// offending character ("a double quote", "a line break", ...) so the log can say why.
// Under the code page of `leadBytes`.
Text CommandRefusalReason(const Text& argument, const LeadBytes& leadBytes);

// The same under the code page the process runs under.
inline Text CommandRefusalReason(const Text& argument) {
    return CommandRefusalReason(argument, ActiveLeadBytes());
}

// A manifest line is split at the manifest separator and the file at line separators, so a
// name or path holding either cannot be recorded; this names what it holds.
Text ManifestRefusalReason(const Text& text);
