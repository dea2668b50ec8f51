#pragma once
// Field escaping of the tool's entry store and backup files: backslash, tab, CR, LF and NUL are
// written as \\ \t \r \n \0, so a field never breaks the tab-separated line it stands in.
// Header-only so that tests can read and write the store in the same format.

#include "common/portable/Text.h"

namespace entryctl {

inline Text EscapeField(const Text& raw) {
    Text out;
    out.reserve(raw.size());
    for (char c : raw) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\0': out += "\\0"; break;
            default: out += c;
        }
    }
    return out;
}

inline Text UnescapeField(const Text& escaped) {
    Text out;
    out.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        char c = escaped[i];
        if (c != '\\' || i + 1 == escaped.size()) {
            out += c;
            continue;
        }
        switch (escaped[++i]) {
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'n': out += '\n'; break;
            case '0': out += '\0'; break;
            default: out += escaped[i];
        }
    }
    return out;
}

}  // namespace entryctl
