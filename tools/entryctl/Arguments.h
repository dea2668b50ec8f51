#pragma once
// The tool's command line as a program built on the C runtime receives it: split into arguments
// by the system's own rules (the wide command line through CommandLineToArgvW, which splits as
// the C runtime does: quotes group, 2n backslashes before a quote give n and the quote counts,
// 2n+1 give n and a literal quote, other backslashes stay), each argument then converted back to
// the ANSI code page. The first argument is the program as it was named.

#include <string>
#include <vector>

#include "common/portable/Text.h"

namespace entryctl {

// The arguments of this process's own command line.
std::vector<Text> ReceivedArguments();

// A wide command line split by the same rules, arguments left wide.
std::vector<std::wstring> SplitWideCommandLine(const std::wstring& line);

// ANSI code page <-> UTF-16.
std::wstring Widen(const Text& ansi);
Text Narrow(const std::wstring& wide);

}  // namespace entryctl
