#include "tools/entryctl/EntryStore.h"

#include <algorithm>
#include <cstdlib>

#include "tools/entryctl/ToolFolder.h"

namespace entryctl {

void EntryStore::Load() {
    entries_.clear();
    Text bytes;
    if (!ReadBytes(InToolFolder(kEntriesFile), &bytes))
        return;
    for (Text& line : SplitLines(bytes)) {
        std::vector<Text> fields;
        size_t start = 0;
        while (true) {
            size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab == Text::npos ? Text::npos : tab - start));
            if (tab == Text::npos)
                break;
            start = tab + 1;
        }
        if (fields.size() != 8 || fields[0].empty())
            continue;
        StoredEntry e;
        e.number = std::atoi(fields[0].c_str());
        if (e.number <= 0)
            continue;
        e.name = UnescapeField(fields[1]);
        e.kind = UnescapeField(fields[2]);
        e.label = UnescapeField(fields[3]);
        e.state = UnescapeField(fields[4]);
        e.position = UnescapeField(fields[5]);
        e.locked = fields[6] == "1";
        e.content = UnescapeField(fields[7]);
        entries_.push_back(std::move(e));
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const StoredEntry& x, const StoredEntry& y) { return x.number < y.number; });
}

bool EntryStore::Save() const {
    Text bytes;
    for (const StoredEntry& e : entries_) {
        bytes += std::to_string(e.number) + "\t" + EscapeField(e.name) + "\t" + EscapeField(e.kind) + "\t" +
                 EscapeField(e.label) + "\t" + EscapeField(e.state) + "\t" + EscapeField(e.position) + "\t" +
                 (e.locked ? "1" : "0") + "\t" + EscapeField(e.content) + "\r\n";
    }
    return ReplaceFileBytes(InToolFolder(kEntriesFile), bytes);
}

StoredEntry* EntryStore::Find(const Text& designator, bool byNumber) {
    if (!byNumber)
        return FindByName(designator);
    if (designator.empty() || designator.size() > 9)
        return nullptr;
    int number = std::atoi(designator.c_str());
    for (StoredEntry& e : entries_) {
        if (e.number == number)
            return &e;
    }
    return nullptr;
}

StoredEntry* EntryStore::FindByName(const Text& name) {
    for (StoredEntry& e : entries_) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

StoredEntry& EntryStore::Add(const Text& name) {
    int next = 1;
    for (const StoredEntry& e : entries_)
        next = std::max(next, e.number + 1);
    StoredEntry e;
    e.number = next;
    e.name = name;
    entries_.push_back(std::move(e));
    return entries_.back();
}

bool EntryStore::Remove(int number) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const StoredEntry& e) { return e.number == number; });
    if (it == entries_.end())
        return false;
    entries_.erase(it);
    return true;
}

}  // namespace entryctl
