#include "common/portable/TextOps.h"

#include <algorithm>
#include <limits>
#include <string>

#include "common/portable/ActiveLeadBytes.h"

namespace {

// Length in bytes of the character that starts at `pos`, by the table of the code page the process
// runs under: two for a lead byte with a valid second byte after it, one otherwise (a lead byte cut
// off at the end of the text, or before a byte that cannot follow it, counts as a character of its
// own, so a damaged text is still walked without reading past its end and without hiding a
// separator).
size_t CharLength(const Text& text, size_t pos) {
    return ActiveLeadBytes().CharLength(text, pos);
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `needle` stands in `text` at `pos`, which must be a character start. The characters
// of both are walked together, so only single-byte letters are folded (the second byte of a pair
// may fall in the range of ASCII letters), and a match must end on a character boundary: a
// needle that ends with a lone lead byte never matches half of a pair.
bool MatchesAt(const Text& text, size_t pos, const Text& needle, bool ignoreCase) {
    if (needle.size() > text.size() - pos) {
        return false;
    }
    size_t i = 0;
    while (i < needle.size()) {
        const size_t len = CharLength(text, pos + i);
        if (i + len > needle.size()) {
            return false;
        }
        if (len == 2) {
            if (text[pos + i] != needle[i] || text[pos + i + 1] != needle[i + 1]) {
                return false;
            }
        } else if (ignoreCase ? FoldAscii(text[pos + i]) != FoldAscii(needle[i]) : text[pos + i] != needle[i]) {
            return false;
        }
        i += len;
    }
    return true;
}

// Byte index of the first match at a character start at or after byte index `from`, or npos.
size_t FindFrom(const Text& text, const Text& needle, bool ignoreCase, size_t from) {
    for (size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) {
        if (pos >= from && MatchesAt(text, pos, needle, ignoreCase)) {
            return pos;
        }
    }
    return Text::npos;
}

// Full-width forms of the code page's punctuation row (A3 xx) and the ideographic space (A1 A1)
// that a number may be written with, as their single-byte forms; 0 for any other pair.
char FoldFullWidth(unsigned char lead, unsigned char trail) {
    if (lead == 0xA1 && trail == 0xA1) {
        return ' ';
    }
    if (lead == 0xA3) {
        if (trail >= 0xB0 && trail <= 0xB9) {
            return static_cast<char>('0' + (trail - 0xB0));
        }
        if (trail == 0xAB) {
            return '+';
        }
        if (trail == 0xAD) {
            return '-';
        }
    }
    return 0;
}

}  // namespace

Text IntToText(int64_t value) {
    return std::to_string(value);
}

int32_t TextToInt(const Text& text) {
    Text folded;
    folded.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t len = CharLength(text, pos);
        const char single =
            len == 2 ? FoldFullWidth(static_cast<unsigned char>(text[pos]), static_cast<unsigned char>(text[pos + 1]))
                     : 0;
        if (single != 0) {
            folded += single;
        } else {
            folded.append(text, pos, len);
        }
        pos += len;
    }

    size_t pos = 0;
    while (pos < folded.size() && folded[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < folded.size() && (folded[pos] == '+' || folded[pos] == '-')) {
        negative = folded[pos] == '-';
        ++pos;
    }
    // Accumulated as a magnitude one past INT32_MAX at most, so the clamp needs no wider overflow.
    constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    int64_t magnitude = 0;
    while (pos < folded.size() && folded[pos] >= '0' && folded[pos] <= '9') {
        magnitude = magnitude * 10 + (folded[pos] - '0');
        if (magnitude > kLimit) {
            magnitude = kLimit;
        }
        ++pos;
    }
    if (negative) {
        return static_cast<int32_t>(-magnitude);
    }
    return static_cast<int32_t>(magnitude >= kLimit ? kLimit - 1 : magnitude);
}

TextArray SplitText(const Text& text, const Text& separator, std::optional<int> maxPieces) {
    TextArray pieces;
    if (text.empty()) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    const size_t limit = maxPieces && *maxPieces > 0 ? static_cast<size_t>(*maxPieces) : 0;
    size_t pieceStart = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        if (limit != 0 && pieces.size() + 1 >= limit) {
            break;  // the remaining text, separators and all, is the last piece
        }
        if (MatchesAt(text, pos, separator, false)) {
            pieces.push_back(text.substr(pieceStart, pos - pieceStart));
            pos += separator.size();
            pieceStart = pos;
        } else {
            pos += CharLength(text, pos);
        }
    }
    if (pieceStart < text.size()) {
        pieces.push_back(text.substr(pieceStart));
    }
    return pieces;
}

int FindText(const Text& haystack, const Text& needle, bool ignoreCase, int start) {
    if (haystack.empty()) {
        return -1;
    }
    const size_t from = start > 1 ? static_cast<size_t>(start) - 1 : 0;
    if (from >= haystack.size()) {
        return -1;
    }
    // An empty needle matches at every character start, so the first one at or after `start` is
    // the answer; that is `start` itself unless it points at the second byte of a pair.
    const size_t pos = FindFrom(haystack, needle, ignoreCase, from);
    return pos == Text::npos ? -1 : static_cast<int>(pos) + 1;
}

int FindTextBackward(const Text& haystack, const Text& needle, bool ignoreCase) {
    size_t last = Text::npos;
    for (size_t pos = 0; pos < haystack.size(); pos += CharLength(haystack, pos)) {
        if (MatchesAt(haystack, pos, needle, ignoreCase)) {
            last = pos;
        }
    }
    return last == Text::npos ? -1 : static_cast<int>(last) + 1;
}

Text ReplaceText(const Text& text, const Text& from, const Text& to, bool ignoreCase) {
    if (from.empty()) {
        return text;
    }
    Text result;
    result.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        if (MatchesAt(text, pos, from, ignoreCase)) {
            result += to;
            pos += from.size();
        } else {
            const size_t len = CharLength(text, pos);
            result.append(text, pos, len);
            pos += len;
        }
    }
    return result;
}

Text TrimText(const Text& text) {
    // The end is found walking forward: from the back alone a trailing A1 A1 may be the second
    // byte of one pair followed by a lone byte rather than a double-byte space.
    size_t begin = Text::npos;
    size_t end = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t len = CharLength(text, pos);
        const bool blank = (len == 1 && text[pos] == ' ') ||
                           (len == 2 && static_cast<unsigned char>(text[pos]) == 0xA1 &&
                            static_cast<unsigned char>(text[pos + 1]) == 0xA1);
        if (!blank) {
            if (begin == Text::npos) {
                begin = pos;
            }
            end = pos + len;
        }
        pos += len;
    }
    return begin == Text::npos ? Text() : text.substr(begin, end - begin);
}

Text LeftText(const Text& text, int n) {
    if (n <= 0) {
        return Text();
    }
    return text.substr(0, std::min(static_cast<size_t>(n), text.size()));
}

Text RightText(const Text& text, int n) {
    if (n <= 0) {
        return Text();
    }
    const size_t count = std::min(static_cast<size_t>(n), text.size());
    return text.substr(text.size() - count);
}

int CharCodeAt(const Text& text, int position) {
    if (position < 1 || static_cast<size_t>(position) > text.size()) {
        return 0;
    }
    return static_cast<signed char>(text[static_cast<size_t>(position) - 1]);
}

bool EqualsIgnoreCase(const Text& a, const Text& b) {
    return a.size() == b.size() && MatchesAt(a, 0, b, true);
}
