#pragma once
// How a pass tells the tool which entry it means. The tool reads a designator of digits only as
// an entry number, so an entry whose name is all digits cannot be named: it is passed by the
// number the tool's listing gives it, and so is an entry without a name. Entry "12" and entry
// No. 12 never get each other's data.
//
// Platform-free; any thread.

#include <cstdint>
#include <optional>

#include "common/portable/Text.h"

// `name` itself when the tool reads it as a name; the decimal text of `number` when `name` is
// empty or all digits and `number` is above 0; nothing when such an entry has no usable number.
std::optional<Text> EntryDesignator(const Text& name, int32_t number);
