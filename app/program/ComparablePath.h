#pragma once
// One spelling for every way of writing a path to the same file or folder, as the system resolves
// it: full, long names, backslashes, letter case folded as file names are compared, no closing
// separator (a drive's root keeps its own), no "\\?\" or "\\.\" prefix, no closing "::$DATA".
// Paths reached through other routes (a mapped drive, a junction) stay apart. Any thread.

#include <windows.h>

#include <string>

#include "common/portable/Text.h"

std::wstring ComparablePath(const Text& path);

// Whether `a` and `b` name the same file or folder: spellings of the same path, or, where both
// exist, one file reached by two routes (a share, a second drive letter, a link), told by its
// volume and file number.
bool IsSamePath(const Text& a, const Text& b);
