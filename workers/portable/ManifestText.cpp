#include "workers/portable/ManifestText.h"

#include <utility>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "workers/portable/PassTexts.h"

Text ManifestPath(const Text& programFolder) {
    return programFolder + kManifestFileName;
}

Text ManifestLine(const Text& name, const Text& file) {
    return name + kManifestSep + file + kLineSep;
}

std::vector<ManifestEntry> ReadManifestLines(const Text& content) {
    std::vector<ManifestEntry> entries;
    for (Text& line : SplitText(content, kLineSep)) {
        ManifestEntry& entry = entries.emplace_back();
        TextArray fields = SplitText(line, kManifestSep);
        // An empty name addresses no entry the tool could restore into: the line is as damaged
        // as one without its two fields.
        if (fields.size() == 2 && !fields[0].empty()) {
            entry.usable = true;
            entry.name = std::move(fields[0]);
            entry.file = std::move(fields[1]);
        }
        entry.text = std::move(line);
    }
    return entries;
}
