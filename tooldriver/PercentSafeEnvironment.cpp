#include "tooldriver/PercentSafeEnvironment.h"

#include <windows.h>

#include <vector>

#include "common/portable/Text.h"

namespace {

// The names of this process's variables that start with a double quote.
std::vector<Text> QuoteNamedVariables() {
    std::vector<Text> names;
    char* block = GetEnvironmentStringsA();
    if (!block)
        return names;
    // "NAME=value\0" after one another, an empty string last. A name may start with '=' (the
    // current folders of drives), so its own '=' is looked for after its first character.
    for (const char* entry = block; *entry; entry += lstrlenA(entry) + 1) {
        if (entry[0] != '"')
            continue;
        const Text text = entry;
        names.push_back(text.substr(0, text.find('=', 1)));
    }
    FreeEnvironmentStringsA(block);
    return names;
}

}  // namespace

bool MakePercentSafeEnvironment() {
    bool removed = true;
    // Nearly always none: the environment is then only read, while other threads start children.
    for (const Text& name : QuoteNamedVariables())
        removed = SetEnvironmentVariableA(name.c_str(), nullptr) != FALSE && removed;
    return removed;
}
