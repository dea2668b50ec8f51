#pragma once
// Where the console tool lives: its program file, the registry value that names its
// installation folder, and the desktop shortcuts that lead to it.

// The tool's program file. Entry commands start it by this name relative to the current
// directory (the tool's folder); target commands start it by its full path.
inline constexpr char kToolExeName[] = "entryctl.exe";

// Under HKEY_LOCAL_MACHINE: key path, then (after the last backslash) the value name. The value
// holds the installation folder; the tool itself sits in kInstallSubdir below it.
inline constexpr char kInstallKey[] = "SOFTWARE\\Entryctl\\InstallFolder";
// From the installation folder to the tool's folder, closing separator included (a folder found
// through a shortcut carries its closing separator too).
inline constexpr char kInstallSubdir[] = "\\bin\\";

// Desktop shortcuts to the tool, tried in this order.
inline constexpr char kShortcutExt[] = ".lnk";
inline constexpr char kShortcutName1[] = "Entryctl.lnk";
inline constexpr char kShortcutName2[] = "Entryctl Console.lnk";
inline constexpr char kShortcutName3[] = "Entry Control.lnk";
inline constexpr char kShortcutName4[] = "entryctl.exe.lnk";
