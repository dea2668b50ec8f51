#include "tooldriver/CodePageConversion.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

static_assert(kSizeFactor >= 2.0, "a wide buffer needs two bytes a unit");

// Both conversions first size their buffer from the length the system's code page reports. That
// length can be short for the code page actually converted to or from: text read as UTF-8 that
// is not valid UTF-8 gives a unit for every bad byte where the double-byte system code page gives
// one for a pair, and a one-byte system code page counts one byte for a character that UTF-8
// spells in three. The platform then fails (or leaves a partial result, which can end inside a
// character and, for the wide buffer, without its zero unit). So a failed conversion is never
// used: the buffer is cleared, the length is asked again for the code page itself, and the
// conversion is repeated once into a buffer of that length. Only when that fails too is the
// result empty.

namespace {

// `length` times the size factor, truncated; 0 when there is nothing to size or it would not fit
// the platform's int-sized buffer lengths.
int SizedBytes(int length) {
    if (length <= 0) {
        return 0;
    }
    const double bytes = static_cast<double>(length) * kSizeFactor;
    return bytes > static_cast<double>(INT_MAX) ? 0 : static_cast<int>(bytes);
}

// Converts `text` into `wide`, a zero-filled buffer of SizedBytes(units) bytes of which at most
// `units` units are written. On failure `wide` is left all zero bytes.
bool ConvertToWide(const Text& text, uint32_t codePage, int units, WideText& wide) {
    const int bytes = SizedBytes(units);
    wide.assign(static_cast<size_t>(bytes), 0);
    if (bytes == 0) {
        return false;
    }
    const int written =
        MultiByteToWideChar(codePage, 0, text.c_str(), -1, reinterpret_cast<wchar_t*>(wide.data()), units);
    if (written == 0) {
        std::fill(wide.begin(), wide.end(), 0);
        return false;
    }
    return true;
}

// Converts `source` into `out` through a buffer of SizedBytes(length) spaces and keeps what lies
// before the converted terminator. On failure `out` is empty.
bool ConvertFromWide(const std::wstring& source, uint32_t codePage, int length, Text& out) {
    const int bytes = SizedBytes(length);
    out.assign(static_cast<size_t>(bytes), ' ');
    const int written =
        bytes == 0 ? 0 : WideCharToMultiByte(codePage, 0, source.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    if (written == 0) {
        out.clear();
        return false;
    }
    out.resize(strnlen(out.data(), out.size()));
    return true;
}

// The units of `wide` before its first zero unit, or all of them when it holds none, so the
// conversion never reads past the buffer whatever it was given.
std::wstring UnitsBeforeZero(const WideText& wide) {
    std::wstring units;
    for (size_t i = 0; i + 1 < wide.size(); i += 2) {
        const wchar_t unit = static_cast<wchar_t>(wide[i] | (wide[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        units += unit;
    }
    return units;
}

}  // namespace

Text Utf8ToCp936(const Text& text) {
    return FromWideText(ToWideText(text), kCodePage936);
}

WideText ToWideText(const Text& text, uint32_t codePage) {
    const int asked = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    WideText wide;
    if (ConvertToWide(text, codePage, asked, wide)) {
        return wide;
    }
    const int needed = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (needed > asked && ConvertToWide(text, codePage, needed, wide)) {
        return wide;
    }
    if (wide.size() < 2) {
        wide.assign(2, 0);  // keep the promise of a zero unit inside the buffer
    }
    return wide;
}

Text FromWideText(const WideText& wide, uint32_t codePage) {
    const std::wstring source = UnitsBeforeZero(wide);
    const int asked = WideCharToMultiByte(CP_ACP, 0, source.c_str(), -1, nullptr, 0, nullptr, nullptr);
    Text out;
    if (ConvertFromWide(source, codePage, asked, out)) {
        return out;
    }
    const int needed = WideCharToMultiByte(codePage, 0, source.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (needed > SizedBytes(asked) && ConvertFromWide(source, codePage, needed, out)) {
        return out;
    }
    return Text();
}
