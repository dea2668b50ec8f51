#pragma once
// The text operations every subsystem shares. Platform-free (no Windows header), so they are
// also built and tested natively under the sanitizers.
//
// Double-byte rule: characters are read by the lead-byte table of the code page the process runs
// under (common/portable/ActiveLeadBytes.h): a lead byte followed by a valid second byte is one character.
// In code page 936 that is a byte of 0x81 to 0xFE followed by one of 0x40 to 0x7E or 0x80 to 0xFE;
// 0x80 (the euro sign) and 0xFF are characters of their own, and a tab, a line break or a space
// after a lead byte stays a character of its own. Search, replace and split step over a pair as one
// character, so a match never starts on its second byte.
// Positions are 1-based byte positions; "not found" is -1.

#include <cstdint>
#include <optional>

#include "common/portable/Text.h"

// Decimal text of an integer: minus sign for negatives, no leading zeros.
Text IntToText(int64_t value);

// Full-width digits, signs and the full-width space folded to their single-byte forms, then
// the leading decimal number read (after leading spaces, an optional sign). No number gives 0;
// a number beyond 32 bits is clamped to the 32-bit range.
int32_t TextToInt(const Text& text);

// The pieces between separators, in order. An empty piece between two adjacent separators
// counts; a piece after the last separator counts only when not empty; an empty text gives no
// pieces. `maxPieces` (when given and above 0) stops the scan after that many pieces; the last
// piece then holds the rest of the text. An empty separator gives the whole text as one piece.
TextArray SplitText(const Text& text, const Text& separator, std::optional<int> maxPieces = std::nullopt);

// 1-based position of the first occurrence of `needle` at or after byte position `start`, or -1.
// A start below 1 counts as 1; a start on the second byte of a pair searches from the next
// character. A match starts and ends on character boundaries. An empty needle is found at
// `start` (or that next character) in a non-empty text, and never in an empty text or past its end.
int FindText(const Text& haystack, const Text& needle, bool ignoreCase = false, int start = 1);

// 1-based position of the last occurrence, or -1 (same empty-needle rule: found at the last
// character start of a non-empty text).
int FindTextBackward(const Text& haystack, const Text& needle, bool ignoreCase = false);

// Every non-overlapping occurrence, left to right, replaced. An empty `from` changes nothing.
Text ReplaceText(const Text& text, const Text& from, const Text& to, bool ignoreCase = false);

// Removes spaces (byte 32) and double-byte spaces (A1 A1) from both ends; tabs and line breaks stay.
Text TrimText(const Text& text);

// The first / last min(n, length) bytes; n of 0 or less gives empty text.
Text LeftText(const Text& text, int n);
Text RightText(const Text& text, int n);

// Byte at 1-based `position` as a signed 8-bit value; 0 outside the text.
int CharCodeAt(const Text& text, int position);

// Case-insensitive comparison of ASCII letters; other bytes (including the second byte of a pair)
// compared as they are.
bool EqualsIgnoreCase(const Text& a, const Text& b);
