#pragma once
// The texts of the settings file as the program writes and reads them: the folder as it is stored,
// and the stored option as an option number. Platform-free (Settings.h does the file's calls);
// any thread.

#include <optional>

#include "common/portable/Text.h"
#include "tooldriver/portable/CommandEnd.h"

// The folder text as the settings file stores it: cut at its first carriage return or line feed.
// A line break in the value would start a new line of the file, which could then read as a section
// or key of its own.
Text FolderTextForSettings(const Text& folder);

// The option a stored option text selects: 1, 2 or 3 for exactly the text "1", "2" or "3"; 0 (no
// option) for any other text.
int OptionFromSettingsText(const Text& stored);

// The [Tool] section: the rules for the tool's listing, backup, restore and create commands. The
// program reads them and never writes them, so a settings file it writes keeps its designed items.
inline constexpr char kToolSection[] = "Tool";
// Comma-separated exit codes that mean the tool succeeded (default 0); see ParseSuccessCodes.
inline constexpr char kSuccessCodesKey[] = "SuccessExitCodes";
// Seconds a command may print nothing before it counts as hung (default 600, 0 = never).
inline constexpr char kHangSecondsKey[] = "HangSeconds";

struct ToolSettings {
    CommandPolicy policy;
    // One log line for each value that was not used (its default applies instead).
    TextArray problems;
};

// The rules the stored texts give; nullopt for a key that is missing. A value that cannot be used
// gives the key's default and a line in `problems` saying so.
ToolSettings ToolSettingsFromTexts(const std::optional<Text>& successCodes, const std::optional<Text>& hangSeconds);
