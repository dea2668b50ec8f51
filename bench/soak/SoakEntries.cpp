#include "bench/soak/SoakEntries.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "common/portable/TextOps.h"

namespace {

// Names in code page 936: "客户 名单", "季度报告", "中文 笔记", "备份 (旧)".
const char* const kNames[] = {
    "Project notes",
    "\xbf\xcd\xbb\xa7 \xc3\xfb\xb5\xa5",
    "Budget 2026 (draft)",
    "\xbc\xbe\xb6\xc8\xb1\xa8\xb8\xe6",
    "Recipes & ideas",
    "a^b [x]",
    "Zeta; final",
    "\xd6\xd0\xce\xc4 \xb1\xca\xbc\xc7",
    "trailing dot.",
    "\xb1\xb8\xb7\xdd (\xbe\xc9)",
    "x=1, y=2",
    "plain",
};
constexpr size_t kNameCount = std::size(kNames);

constexpr char kDamagedLabel[] = "damaged by the soak";

int Draw(std::mt19937_64& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

// Random bytes, every value from 0 to 255 possible (line breaks, tabs and zero bytes included).
Text RandomContent(std::mt19937_64& random) {
    Text content(static_cast<size_t>(Draw(random, 0, 400)), '\0');
    for (char& c : content)
        c = static_cast<char>(Draw(random, 0, 255));
    return content;
}

ToolEntry NewEntry(std::mt19937_64& random) {
    return ToolEntry{"5", "label " + IntToText(Draw(random, 1, 9999)), "", "", RandomContent(random)};
}

}  // namespace

ToolEntries MakeEntries(std::mt19937_64& random) {
    std::vector<Text> names(std::begin(kNames), std::end(kNames));
    std::shuffle(names.begin(), names.end(), random);
    ToolEntries entries;
    const int count = Draw(random, 2, 6);
    for (int k = 0; k < count; ++k)
        entries[names[k]] = NewEntry(random);
    return entries;
}

ToolEntries ChangeEntries(const ToolEntries& entries, std::mt19937_64& random) {
    ToolEntries changed = entries;
    const int surely = Draw(random, 0, static_cast<int>(entries.size()) - 1);
    int k = 0;
    for (auto& [name, entry] : changed) {
        if (k++ == surely || Draw(random, 0, 9) < 6)
            entry.content = RandomContent(random);
    }
    if (Draw(random, 0, 9) < 3) {
        for (const char* name : kNames) {
            if (!changed.count(name)) {
                changed[name] = NewEntry(random);
                break;
            }
        }
    }
    return changed;
}

ToolEntries DamageEntries(const ToolEntries& entries, std::mt19937_64& random) {
    ToolEntries damaged;
    for (const auto& [name, entry] : entries) {
        if (Draw(random, 0, 9) < 3)
            continue;
        ToolEntry d = entry;
        d.label = kDamagedLabel;
        d.content = "damaged " + IntToText(Draw(random, 1, 999999));
        damaged[name] = d;
    }
    if (damaged.empty() && !entries.empty())
        damaged[entries.begin()->first] = ToolEntry{"5", kDamagedLabel, "", "", "damaged"};
    return damaged;
}

bool IsDamaged(const ToolEntry& entry) {
    return entry.label == kDamagedLabel;
}
