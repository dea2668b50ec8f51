#include "toollink/portable/EnvironmentReferences.h"

#include "common/portable/TextOps.h"

namespace {

struct Redirected {
    const char* name;
    const char* source;
};

// The folder variables that WOW64 gives 32-bit programs their own values of. (The processor
// variables differ too, but name no folder.)
constexpr Redirected kThirtyTwoBitFolders[] = {
    {"ProgramFiles", "ProgramFiles(x86)"},
    {"CommonProgramFiles", "CommonProgramFiles(x86)"},
};

}  // namespace

Text ExpandReferences(const Text& text, const VariableLookup& lookup) {
    Text out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find('%', at);
        if (open == Text::npos)
            break;
        out.append(text, at, open - at);
        const size_t close = text.find('%', open + 1);
        if (close == Text::npos) {
            at = open;
            break;
        }
        const Text name = text.substr(open + 1, close - open - 1);
        const std::optional<Text> value = name.empty() || !lookup ? std::nullopt : lookup(name);
        if (value) {
            out += *value;
            at = close + 1;
        } else {
            out.append(text, open, close - open + 1);
            at = close + 1;
        }
    }
    out.append(text, at, Text::npos);
    return out;
}

Text ThirtyTwoBitSourceVariable(const Text& name) {
    for (const Redirected& folder : kThirtyTwoBitFolders) {
        if (EqualsIgnoreCase(name, folder.name))
            return folder.source;
    }
    return name;
}
