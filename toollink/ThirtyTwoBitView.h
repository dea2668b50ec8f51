#pragma once
// Paths as a 32-bit program on this 64-bit system sees them. On 64-bit Windows a 32-bit installer
// records folders in the 32-bit view of the registry and writes environment-relative paths such as
// "%ProgramFiles%\Tool" that it means as "Program Files (x86)\Tool"; this program is a 64-bit one,
// and expanding them with its own environment would name the folder of 64-bit programs instead.
// Any thread.

#include "common/portable/Text.h"

// `text` with its %NAME% references expanded as a 32-bit program on this system expands them
// (ThirtyTwoBitSourceVariable): %ProgramFiles% gives this process's %ProgramFiles(x86)%. Where
// this process has no such variable (a system without 32-bit programs), the reference is expanded
// as this program sees it. Undefined references stay as they are.
Text ExpandAsThirtyTwoBitProgram(const Text& text);

// The target of the shortcut file `lnkPath` as a 32-bit program on this system reads it, when the
// shortcut records its target relative to environment variables (ShortcutEnvironmentTarget.h):
// the recorded text expanded by ExpandAsThirtyTwoBitProgram. Empty text when the file cannot be
// read, is no shortcut or records no such target.
Text ShortcutTargetAsThirtyTwoBitProgram(const Text& lnkPath);
