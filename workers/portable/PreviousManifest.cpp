#include "workers/portable/PreviousManifest.h"

#include <utility>

#include "common/portable/SharedTexts.h"
#include "workers/portable/ManifestText.h"

PreviousManifest::PreviousManifest(const Text& content) {
    std::vector<ManifestEntry> lines = ReadManifestLines(content);
    hasLines_ = !lines.empty();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (line->usable)
            lines_.push_back({std::move(line->name), std::move(line->file), line->text + kLineSep});
    }
}

std::vector<const PreviousManifest::Line*> PreviousManifest::LinesOf(const Text& name) const {
    std::vector<const Line*> found;
    for (const Line& line : lines_) {
        if (line.name == name)
            found.push_back(&line);
    }
    return found;
}
