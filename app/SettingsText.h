#pragma once
// The texts of the settings file as the program writes and reads them: the folder as it is stored,
// and the stored option as an option number. Platform-free (Settings.h does the file's calls);
// any thread.

#include "common/Text.h"

// The folder text as the settings file stores it: cut at its first carriage return or line feed.
// A line break in the value would start a new line of the file, which could then read as a section
// or key of its own.
Text FolderTextForSettings(const Text& folder);

// The option a stored option text selects: 1, 2 or 3 for exactly the text "1", "2" or "3"; 0 (no
// option) for any other text.
int OptionFromSettingsText(const Text& stored);
