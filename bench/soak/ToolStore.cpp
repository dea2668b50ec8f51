#include "bench/soak/ToolStore.h"

#include <set>
#include <vector>

#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tools/entryctl/FieldEscape.h"

namespace {

constexpr int kStoreFields = 8;

// The tab-separated fields of one store line; an empty last field counts.
std::vector<Text> Fields(const Text& line) {
    std::vector<Text> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != Text::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

}  // namespace

bool ReadToolStore(const Text& path, ToolEntries* entries, Text* problem) {
    entries->clear();
    if (!FileExists(path))
        return true;
    const Text bytes = ReadWholeFile(path);
    std::set<int> numbers;
    size_t pos = 0;
    for (int lineNumber = 1; pos < bytes.size(); ++lineNumber) {
        const size_t end = bytes.find("\r\n", pos);
        if (end == Text::npos) {
            *problem = "line " + IntToText(lineNumber) + " of the store has no line end (the file stops mid-line)";
            return false;
        }
        const std::vector<Text> fields = Fields(bytes.substr(pos, end - pos));
        pos = end + 2;
        const int number = TextToInt(fields[0]);
        if (fields.size() != kStoreFields || number <= 0 || IntToText(number) != fields[0]) {
            *problem = "line " + IntToText(lineNumber) + " of the store is damaged (" + IntToText(fields.size()) +
                       " fields, number \"" + fields[0] + "\")";
            return false;
        }
        const Text name = entryctl::UnescapeField(fields[1]);
        ToolEntry entry{entryctl::UnescapeField(fields[2]), entryctl::UnescapeField(fields[3]),
                        entryctl::UnescapeField(fields[4]), entryctl::UnescapeField(fields[5]),
                        entryctl::UnescapeField(fields[7])};
        if (!numbers.insert(number).second || !entries->emplace(name, std::move(entry)).second) {
            *problem = "line " + IntToText(lineNumber) + " of the store repeats the number " + fields[0] +
                       " or the name \"" + name + "\"";
            return false;
        }
    }
    return true;
}

bool WriteToolStore(const Text& path, const ToolEntries& entries) {
    Text bytes;
    int number = 0;
    for (const auto& [name, e] : entries) {
        bytes += IntToText(++number) + "\t" + entryctl::EscapeField(name) + "\t" + entryctl::EscapeField(e.kind) +
                 "\t" + entryctl::EscapeField(e.label) + "\t" + entryctl::EscapeField(e.state) + "\t" +
                 entryctl::EscapeField(e.position) + "\t0\t" + entryctl::EscapeField(e.content) + "\r\n";
    }
    return WriteWholeFile(path, bytes);
}

Text DescribeContent(const Text& content) {
    constexpr size_t kShown = 24;
    Text shown = entryctl::EscapeField(content.substr(0, kShown));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f)
            c = '.';
    }
    return IntToText(content.size()) + " bytes \"" + shown + (content.size() > kShown ? "...\"" : "\"");
}
