#include "common/portable/PathText.h"

#include "common/portable/SharedTexts.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Byte position just after the last character of `path` that is not a separator (one of the
// run of separators the path ends with starts there).
size_t EndOfLastName(const Text& path, const LeadBytes& leadBytes) {
    size_t end = 0;
    for (size_t pos = 0; pos < path.size();) {
        const size_t length = leadBytes.CharLength(path, pos);
        pos += length;
        if (length == 2 || !IsSeparator(path[pos - 1]))
            end = pos;
    }
    return end;
}

bool IsDriveRoot(const Text& path) {
    return path.size() == 3 && path[1] == ':' && IsSeparator(path[2]);
}

}  // namespace

size_t FileNameStart(const Text& path, const LeadBytes& leadBytes) {
    size_t start = 0;
    for (size_t pos = 0; pos < path.size();) {
        const size_t length = leadBytes.CharLength(path, pos);
        pos += length;
        if (length == 1 && IsSeparator(path[pos - 1]))
            start = pos;
    }
    return start;
}

Text WithoutClosingSeparator(const Text& folder, const LeadBytes& leadBytes) {
    const Text trimmed = folder.substr(0, EndOfLastName(folder, leadBytes));
    // "C:" alone would name the current directory of drive C, not its root.
    if (trimmed.size() == 2 && trimmed[1] == ':' && folder.size() > 2)
        return folder.substr(0, 3);
    return trimmed;
}

Text SeparatorsAsOne(const Text& path, const LeadBytes& leadBytes) {
    Text single;
    single.reserve(path.size());
    bool afterSeparator = false;
    for (size_t pos = 0; pos < path.size();) {
        const size_t length = leadBytes.CharLength(path, pos);
        if (length == 1 && IsSeparator(path[pos])) {
            // The second separator of a path's start opens a server's share.
            if (!afterSeparator || single.size() == 1)
                single += kPathSep;
            afterSeparator = true;
        } else {
            single.append(path, pos, length);
            afterSeparator = false;
        }
        pos += length;
    }
    return single;
}

Text JoinPath(const Text& folder, const Text& name, const LeadBytes& leadBytes) {
    const Text base = WithoutClosingSeparator(folder, leadBytes);
    return IsDriveRoot(base) ? base + name : base + kPathSep + name;
}
