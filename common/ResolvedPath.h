#pragma once
// A path as the system resolves it: full, long names, backslashes, "." and ".." steps taken, runs
// of separators as one. Routes that lead to one place by other names (a share, another drive
// letter, a link) stay apart here: common/FileIdentity.h tells those.
//
// Windows only; any thread.

#include <string>

#include "common/portable/Text.h"

// `text` (ANSI code page) as UTF-16; empty for empty text or text the system cannot convert.
std::wstring WideFromAnsi(const Text& text);

// `path` made full by the system (against the current directory where it is not full already) and
// with every short (8.3) name that exists replaced by its long name. A closing separator stays as
// given. The path unchanged when the system cannot make it full.
std::wstring ResolvedWidePath(const std::wstring& path);

// One spelling of an existing folder: ResolvedWidePath in the ANSI code page, with no closing
// separator except a drive's root ("C:\"). A long name the code page cannot hold is left as its
// short name, which names the same folder. When the system cannot resolve the folder, the text
// as given without its closing separators.
Text CanonicalFolder(const Text& folder);
