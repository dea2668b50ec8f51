#pragma once
// Conversions between multi-byte text and UTF-16, used for the one tool answer that arrives in
// UTF-8 while the rest of the program works in code page 936. Free functions without state: any
// thread may call them at any time.

#include <cstdint>
#include <vector>

#include "common/portable/Text.h"

// UTF-16 code units (two bytes each, little-endian), then a zero unit and possibly further zero
// bytes. The vector's size is the buffer's length in bytes.
using WideText = std::vector<uint8_t>;

inline constexpr uint32_t kSystemCodePage = 0;  // the system's ANSI code page
inline constexpr uint32_t kCodePage936 = 936;
inline constexpr uint32_t kUtf8CodePage = 65001;

// Both conversions ask the platform for the length in the system's code page and allocate that
// length times this factor (truncated). Two is enough for UTF-16 (two bytes a unit) and for a
// double-byte result where the system's code page needs one byte a character; where it is not
// enough (see the .cpp), the conversion is repeated with the length the target code page needs.
inline constexpr double kSizeFactor = 2.0;

// UTF-8 text as code page 936 text. Characters 936 cannot hold become its default character.
// Empty text gives empty text.
Text Utf8ToCp936(const Text& text);

// `text` in `codePage` as UTF-16. The result always ends with a zero unit inside its length;
// a failed conversion gives a buffer of zero bytes (empty wide text).
WideText ToWideText(const Text& text, uint32_t codePage = kUtf8CodePage);

// The units of `wide` up to its first zero unit (or its end, if it holds none) as text in
// `codePage`; 0 is the system's code page. Characters the code page cannot hold become its
// default character. A failed conversion gives empty text, never a part of a character.
Text FromWideText(const WideText& wide, uint32_t codePage = kSystemCodePage);
