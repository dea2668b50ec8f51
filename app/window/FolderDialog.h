#pragma once
// Choosing the backup folder in the shell's folder-browse dialog, reached through the shell's
// automation object: the chosen folder's path goes into FolderField. Cancelling the dialog, or
// any failure to show it or to read the choice, leaves FolderField empty; nothing is logged.
//
// Window thread only, with COM already initialised on it. The dialog is modal on its own (it has
// no owner window); while it is open the window keeps serving workers and other clicks.

#include <windows.h>

// The dialog's title.
inline constexpr char kBrowseTitle[] = "Choose the folder for the backup files";

// The shell's automation class and the members of the browse sequence.
inline constexpr char kShellClass[] = "Shell.Application";
inline constexpr char kBrowseMethod[] = "BrowseForFolder";
inline constexpr char kFolderSelfMember[] = "Self";
inline constexpr char kItemPathMember[] = "Path";
// The dialog's options: an edit box for typing a path (0x10) in the newer dialog style (0x40).
inline constexpr int kBrowseOptions = 0x50;

// Shows the dialog and writes the outcome into `window`'s FolderField. A second call while the
// dialog is already open (a click on Browse meanwhile) does nothing.
void BrowseForBackupFolder(HWND window);
