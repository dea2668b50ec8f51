#pragma once
// The settings that survive between runs: the backup folder (FolderField) and the selected
// option (OptionButton1 to OptionButton3), kept in an initialisation file in the program's
// folder and read and written only through the system's private-profile calls. The file is
// created by the first save; a file that cannot be written loses the settings silently.
//
// Window thread only (the controls are reached through ControlAccess.h). Nothing is reported.

#include <windows.h>

#include "app/program/portable/SettingsText.h"
#include "common/portable/Text.h"

// Appended to the program's folder (which has no closing separator) to name the file.
inline constexpr char kSettingsFileName[] = "\\EntryKeeper.ini";
// The folder item: its section and its key are the same text.
inline constexpr char kFolderItem[] = "BackupFolder";
inline constexpr char kOptionSection[] = "Options";
inline constexpr char kOptionKey[] = "Option";
// The option stored when the file holds none.
inline constexpr int kDefaultOption = 3;

// The settings file of the program whose folder is `programFolder`.
Text SettingsFilePath(const Text& programFolder);

// Puts the stored folder into FolderField (the program's folder when the file holds no folder
// item; an empty stored folder stays empty) and selects the stored option: exactly the text
// "1", "2" or "3" selects that option button and unselects the other two; any other stored text
// leaves the option group as it is. `programFolder` names the file and is the default folder.
void LoadSettings(HWND window, const Text& programFolder);

// Stores FolderField (cut at a line break, which the file cannot hold) and the number of the
// selected option button; with no option button selected the stored option stays as it was.
void SaveSettings(HWND window, const Text& programFolder);

// The [Tool] section of the settings file of `programFolder` (SettingsText.h); it is never written.
// Any thread.
ToolSettings LoadToolSettings(const Text& programFolder);
