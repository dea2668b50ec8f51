// The manifest read back, whatever the file holds (a damaged file, one edited by hand, any bytes):
//  - every line of the file is read, in order, nothing lost or invented: the lines joined again
//    give the file's text;
//  - a line is used only when it has exactly two fields and a non-empty name, and then its name and
//    path are exactly those two fields; every other line is counted as unusable;
//  - the previous manifest that a backup pass keeps offers exactly the usable lines, in pass order.
// The lines and fields are cut here by the manifest's own format, byte by byte, apart from the code
// under test: neither separator (CR LF, tab) can be part of a double-byte character.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "workers/portable/ManifestText.h"
#include "workers/portable/PreviousManifest.h"

namespace {

// The pieces between separators; an empty piece between two separators counts, the empty piece
// after the last one does not.
std::vector<Text> Cut(const Text& text, const Text& separator) {
    std::vector<Text> pieces;
    size_t start = 0;
    while (start < text.size()) {
        const size_t at = text.find(separator, start);
        if (at == Text::npos) {
            pieces.push_back(text.substr(start));
            break;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text content(reinterpret_cast<const char*>(data), size);
    const std::vector<ManifestEntry> lines = ReadManifestLines(content);
    const std::vector<Text> want = Cut(content, "\r\n");

    FUZZ_CHECK(lines.size() == want.size(), std::to_string(lines.size()) + " lines read, the file has " +
                                                std::to_string(want.size()) + ": " + ShowBytes(content));
    Text joined;
    size_t usable = 0;
    size_t unusable = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const ManifestEntry& line = lines[i];
        const std::string where = "line " + std::to_string(i + 1) + " " + ShowBytes(want[i]);
        FUZZ_CHECK(line.text == want[i], where + " read as " + ShowBytes(line.text));
        const std::vector<Text> fields = Cut(want[i], "\t");
        const bool restorable = fields.size() == 2 && !fields[0].empty();
        FUZZ_CHECK(line.usable == restorable, where + (line.usable ? " used" : " not used"));
        if (line.usable) {
            ++usable;
            FUZZ_CHECK(line.name == fields[0] && line.file == fields[1],
                       where + " gives name " + ShowBytes(line.name) + " and path " + ShowBytes(line.file));
        } else {
            ++unusable;
            FUZZ_CHECK(line.name.empty() && line.file.empty(), where + " gives a name or path although unusable");
        }
        joined += line.text + (i + 1 < lines.size() ? "\r\n" : "");
    }
    if (content.size() >= 2 && content.compare(content.size() - 2, 2, "\r\n") == 0)
        joined += "\r\n";
    FUZZ_CHECK(joined == content, "the lines give back " + ShowBytes(joined) + " of " + ShowBytes(content));
    FUZZ_CHECK(usable + unusable == lines.size(), "every line is used or counted");

    const PreviousManifest previous(content);
    FUZZ_CHECK(previous.HasLines() == !lines.empty(), ShowBytes(content));
    FUZZ_CHECK(previous.Lines().size() == usable,
               std::to_string(previous.Lines().size()) + " lines kept of " + std::to_string(usable));
    size_t k = 0;
    for (size_t i = lines.size(); i-- > 0;) {
        if (!lines[i].usable)
            continue;
        const PreviousManifest::Line& kept = previous.Lines()[k++];
        FUZZ_CHECK(kept.name == lines[i].name && kept.path == lines[i].file && kept.text == lines[i].text + "\r\n",
                   "kept line " + ShowBytes(kept.text) + " for " + ShowBytes(lines[i].text));
    }
    return 0;
}
