#pragma once
// Command-line texts that entry commands and target commands share.

#include "common/portable/SharedTexts.h"

// Between the two arguments of the progress command (entry) and of the resize command (target):
// both stand inside one pair of quotes, "a/b".
inline constexpr auto& kMid9 = kProgressSep;
