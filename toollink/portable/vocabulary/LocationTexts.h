#pragma once
// The late-bound shell object that reads a desktop shortcut: its class, the type library that
// describes it, the method that opens a shortcut file and the property that holds the target.

inline constexpr char kShellClass[] = "WScript.Shell";
inline constexpr char kShellLibrary[] = "wshom.ocx";
inline constexpr char kOpenShortcutMethod[] = "CreateShortcut";
inline constexpr char kTargetProperty[] = "TargetPath";
