#pragma once
// Small text searches that tests check output with. Byte-wise, so a double-byte character's
// second byte can match; the texts tests search are plain enough for that not to matter. Any thread.

#include "common/portable/Text.h"

// Whether `text` ends with `tail` (every text ends with the empty one).
bool EndsWith(const Text& text, const Text& tail);

// How many times `part` stands in `text`, counted from the left without overlaps; 0 for an empty
// `part`.
int Occurrences(const Text& text, const Text& part);
