#include "workers/PreviousManifest.h"

#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "workers/PassTexts.h"

PreviousManifest::PreviousManifest(const Text& content) {
    const TextArray lines = SplitText(content, kLineSep);
    hasLines_ = !lines.empty();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        TextArray fields = SplitText(*line, kManifestSep);
        if (fields.size() != 2 || fields[0].empty())
            continue;
        lines_.push_back({std::move(fields[0]), std::move(fields[1]), *line + kLineSep});
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
