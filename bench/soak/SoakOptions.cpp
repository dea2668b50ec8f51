#include "bench/soak/SoakOptions.h"

#include <cstdlib>

namespace {

// The whole of `text` as a number of at least `low`.
std::optional<uint64_t> Number(const char* text, uint64_t low) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (!*text || *end || *text == '-' || value < low)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<SoakOptions> ReadSoakOptions(int count, const char* const* arguments) {
    SoakOptions options;
    for (int i = 0; i < count; ++i) {
        const Text word = arguments[i];
        if (word.rfind("--", 0) != 0) {
            if (!options.folder.empty())
                return std::nullopt;
            options.folder = word;
            continue;
        }
        if (i + 1 >= count)
            return std::nullopt;
        const std::optional<uint64_t> value = Number(arguments[++i], word == "--seed" ? 0 : 1);
        if (!value || (word != "--seed" && *value > 1000000))
            return std::nullopt;
        if (word == "--kills")
            options.kills = static_cast<int>(*value);
        else if (word == "--round")
            options.onlyRound = static_cast<int>(*value);
        else if (word == "--seed")
            options.seed = *value;
        else
            return std::nullopt;
    }
    while (!options.folder.empty() && (options.folder.back() == '\\' || options.folder.back() == '/'))
        options.folder.pop_back();
    if (options.folder.empty())
        return std::nullopt;
    return options;
}
