#pragma once
// The one place where the program's ANSI texts meet the UTF-16 strings of automation objects.
// Conversions use the process's ANSI code page (936 on the product's machines). Any thread.

#include <string>

#include "common/WinHandles.h"
#include "common/portable/Text.h"

// A new BSTR holding `text` in UTF-16 (an empty text gives an empty, non-null BSTR).
// Empty owner only when memory runs out.
UniqueBstr TextToBstr(const Text& text);

// `text` in UTF-16, for name lookups and paths.
std::wstring TextToWide(const Text& text);

// The ANSI form of `count` UTF-16 units; characters the code page lacks become '?'.
Text WideToText(const wchar_t* wide, size_t count);

// The ANSI form of a BSTR up to its first NUL (a null BSTR is the empty text).
Text BstrToText(BSTR bstr);
