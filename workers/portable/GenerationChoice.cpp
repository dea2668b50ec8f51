#include "workers/portable/GenerationChoice.h"

#include <algorithm>

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/TextOps.h"
#include "workers/portable/BackupFileName.h"

namespace {

Text Upper(const Text& text) {
    return FoldFileNameCase(text, ActiveLeadBytes());
}

TextArray NearestNames(const Text& value, const std::vector<OfferedGeneration>& offered) {
    std::vector<std::pair<Text, size_t>> byName;
    for (size_t i = 0; i < offered.size(); ++i)
        byName.emplace_back(Upper(offered[i].name), i);
    std::sort(byName.begin(), byName.end());
    const auto after = std::lower_bound(byName.begin(), byName.end(), std::make_pair(Upper(value), size_t{0}));
    TextArray nearest;
    if (after != byName.begin())
        nearest.push_back(offered[std::prev(after)->second].name);
    if (after != byName.end())
        nearest.push_back(offered[after->second].name);
    return nearest;
}

}  // namespace

GenerationChoice ChooseGeneration(const Text& value, const std::vector<OfferedGeneration>& offered) {
    GenerationChoice choice;
    if (!value.empty()) {
        for (size_t i = 0; i < offered.size() && !choice.chosen; ++i) {
            if (EqualsIgnoreCase(offered[i].name, value))
                choice.chosen = i;
        }
        if (!choice.chosen) {
            for (size_t i = 0; i < offered.size(); ++i) {
                const bool begins = offered[i].name.size() > value.size() &&
                                    EqualsIgnoreCase(offered[i].name.substr(0, value.size()), value);
                if (begins && (!choice.chosen || offered[i].sequence > offered[*choice.chosen].sequence))
                    choice.chosen = i;
            }
        }
    }
    if (!choice.chosen)
        choice.nearest = NearestNames(value, offered);
    return choice;
}
