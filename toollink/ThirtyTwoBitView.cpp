#include "toollink/ThirtyTwoBitView.h"

#include <windows.h>

#include <optional>

#include "toollink/EnvironmentReferences.h"

namespace {

std::optional<Text> EnvironmentValue(const Text& name) {
    // A value may change between the calls: retry with the size the second call reports.
    DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    for (int attempt = 0; attempt < 3 && size != 0; ++attempt) {
        Text value(size, '\0');
        const DWORD written = ::GetEnvironmentVariableA(name.c_str(), value.data(), size);
        if (written < size) {
            value.resize(written);
            return value;
        }
        size = written;
    }
    return std::nullopt;
}

}  // namespace

Text ExpandAsThirtyTwoBitProgram(const Text& text) {
    return ExpandReferences(text, [](const Text& name) {
        const Text source = ThirtyTwoBitSourceVariable(name);
        std::optional<Text> value = EnvironmentValue(source);
        return value || source == name ? value : EnvironmentValue(name);
    });
}
