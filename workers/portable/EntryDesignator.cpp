#include "workers/portable/EntryDesignator.h"

#include "common/portable/TextOps.h"
#include "tooldriver/portable/EntryCommandLines.h"

std::optional<Text> EntryDesignator(const Text& name, int32_t number) {
    if (!name.empty() && !IsAllDigits(name))
        return name;
    if (number <= 0)
        return std::nullopt;
    return IntToText(number);
}
