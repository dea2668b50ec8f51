#include "common/portable/AbsolutePath.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The end of the name that starts at `pos`: the position of the next separator, or the text's end.
size_t NameEnd(const Text& path, size_t pos, const LeadBytes& leadBytes) {
    while (pos < path.size() && !IsSeparator(path[pos]))
        pos += leadBytes.CharLength(path, pos);
    return pos;
}

}  // namespace

bool IsAbsoluteWindowsPath(const Text& path, const LeadBytes& leadBytes) {
    if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]))
        return true;
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return false;
    const size_t serverEnd = NameEnd(path, 2, leadBytes);
    const Text server = path.substr(2, serverEnd - 2);
    // "\\.\" and "\\?\" lead into the device and raw namespaces, not to a server.
    if (server.empty() || server == "." || server == "?" || serverEnd >= path.size())
        return false;
    const size_t shareEnd = NameEnd(path, serverEnd + 1, leadBytes);
    return shareEnd > serverEnd + 1;
}
