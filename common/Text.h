#pragma once
// Text: bytes of the ANSI code page (936 on the product's machines), lengths in bytes.
// An absent text and an empty text are the same value. A byte of 0x80 or above starts a
// double-byte character (when a byte of 0x40 or above follows it); the operations in TextOps.h step
// over such a pair as one character.

#include <string>
#include <vector>

using Text = std::string;

// A list of texts. Element k of the design's 1-based arrays is element k-1 here.
using TextArray = std::vector<Text>;
