#pragma once
// The manifest as the previous backup pass left it, read at the start of a pass. Its lines are
// what a pass may keep: an entry whose new backup fails keeps the line recorded for its own name,
// byte for byte, and nothing else.
//
// Platform-free; any thread. The pass owns its copy.

#include <vector>

#include "common/portable/Text.h"

class PreviousManifest {
public:
    struct Line {
        Text name;
        Text path;
        Text text;  // the whole line as it stood, its line separator included
    };

    // `content` is the manifest file's text (empty when there is none). Lines without exactly two
    // fields, or with an empty name, cannot be restored from and are not offered.
    explicit PreviousManifest(const Text& content);

    // Whether the file held any line at all, usable or not.
    bool HasLines() const { return hasLines_; }

    // The usable lines in the order of the pass that wrote them (the reverse of the file's order).
    const std::vector<Line>& Lines() const { return lines_; }

    // The usable lines recorded for exactly `name` (bytes compared, letter case counts), in that order.
    std::vector<const Line*> LinesOf(const Text& name) const;

private:
    bool hasLines_ = false;
    std::vector<Line> lines_;
};
