#pragma once
// Paths as text: where a path's last name starts, and a folder joined to a name without a doubled
// separator. The system's own spelling of a path (full, long names) is in common/ResolvedPath.h.
//
// Platform-free; any thread. Texts are in the code page of `leadBytes`, so a second byte equal to
// '\' is never taken for a separator; both '\' and '/' separate.

#include <cstddef>

#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"

// Byte position where the last name of `path` starts: just after its last separator, or 0.
size_t FileNameStart(const Text& path, const LeadBytes& leadBytes);

// `folder` without the separators it ends with, except the one of a drive's root ("C:\" stays);
// "D:\B\\" gives "D:\B".
Text WithoutClosingSeparator(const Text& folder, const LeadBytes& leadBytes);

// `path` with every separator a backslash and each run of separators as one, as the system reads
// it, but for the two that open a server's share ("\\server\share"): "D:/B\\x" gives "D:\B\x".
Text SeparatorsAsOne(const Text& path, const LeadBytes& leadBytes);

// `folder` + '\' + `name`, the folder taken without its closing separators: "D:\B\" and "x.ekb"
// give "D:\B\x.ekb", and "C:\" and "x.ekb" give "C:\x.ekb".
Text JoinPath(const Text& folder, const Text& name, const LeadBytes& leadBytes);
