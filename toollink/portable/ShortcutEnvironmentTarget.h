#pragma once
// The target a shell shortcut file records relative to environment variables
// ("%ProgramFiles%\Entryctl\bin\entryctl.exe"). The shell writes it beside the plain target when
// the target lies under such a folder, and when the shortcut is read it expands it with the
// reading program's environment: a 64-bit program then reads "Program Files" where the 32-bit
// installer that wrote the shortcut meant "Program Files (x86)". Reading the recorded text lets
// this program expand it as a 32-bit program would (ThirtyTwoBitView.h).
//
// Pure parsing of the file's bytes, in the published layout of shortcut files: the header, the
// optional item list, location block and strings, then the extra data blocks. Any thread.

#include <optional>
#include <string>
#include <string_view>

#include "common/portable/Text.h"

// The two forms the block holds: in the code page of the machine that wrote it, and in UTF-16.
struct EnvironmentTarget {
    Text ansi;
    std::u16string wide;
};

// The environment-relative target of the shortcut file whose contents are `bytes`; nullopt when
// `bytes` is no shortcut file, its header does not announce such a target, the block is missing
// or any part of the file reaches past its end. Each form ends at its first zero character.
std::optional<EnvironmentTarget> ShortcutEnvironmentTarget(std::string_view bytes);
