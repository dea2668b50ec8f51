#pragma once
// Reads a text value under the local-machine root of the registry, as the installer of a 32-bit
// or a 64-bit program left it. On 64-bit Windows HKLM\SOFTWARE has two views: a 32-bit installer
// writes into the 32-bit view, where a 64-bit program such as this one does not look unless it
// asks to, and a 64-bit installer into the 64-bit view. Any thread.

#include "common/portable/Text.h"

// The two views of the local-machine root; the same on a system that has only one.
enum class RegistryView { k32Bit, k64Bit };

// `keyAndValue` is the key path and the value name in one text: the part after its last
// backslash is the value name. The 32-bit view is read first, as a 32-bit program reads it, then
// the 64-bit view; the first view that holds the value as non-empty text gives it. String values
// are returned as stored; expandable-string values with their environment references expanded
// as a program of the view's width expands them (in the 32-bit view %ProgramFiles% is the folder
// of 32-bit programs). Empty text when neither view holds such a value (key or value missing,
// another value type, empty or unreadable).
Text ReadLocalMachineText(const Text& keyAndValue);

// The same, in `view` only.
Text ReadLocalMachineText(const Text& keyAndValue, RegistryView view);
