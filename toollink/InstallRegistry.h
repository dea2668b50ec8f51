#pragma once
// Reads a text value under the local-machine root of the registry (its 64-bit view, where a
// 64-bit installer records its folder). Any thread.

#include "common/Text.h"

// `keyAndValue` is the key path and the value name in one text: the part after its last
// backslash is the value name. String values are returned as stored; expandable-string values
// with their environment references expanded. Any failure (key or value missing, another value
// type, unreadable) gives empty text.
Text ReadLocalMachineText(const Text& keyAndValue);
