#pragma once
// Text: bytes of the ANSI code page (936 on the product's machines), lengths in bytes.
// An absent text and an empty text are the same value. A lead byte of the code page followed by a
// valid second byte is one double-byte character (common/portable/LeadBytes.h); the operations in TextOps.h
// step over such a pair as one character.

#include <string>
#include <vector>

using Text = std::string;

// A list of texts. Element k of the design's 1-based arrays is element k-1 here.
using TextArray = std::vector<Text>;
