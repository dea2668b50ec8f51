#pragma once
// Whether a text names a place on its own, whatever the current drive and directory: a drive and
// its root ("C:\Backups", "d:/"), or a share of a network server ("\\server\share\Backups").
// Anything else a Windows call would resolve against the current drive or directory: "Backups",
// "\Backups" (the current drive's root), "C:Backups" (the current directory of drive C), and
// the device and raw namespaces ("\\.\...", "\\?\...") are not taken as folder paths either.
//
// Platform-free; any thread. Texts are in the ANSI code page that `leadBytes` describes, so a
// second byte equal to '\' inside a server or share name is not taken for a separator.

#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"

// True for a drive letter, a colon and a separator ('\' or '/') at the start, or for two
// separators, a server name, a separator and a share name. Empty text gives false.
bool IsAbsoluteWindowsPath(const Text& path, const LeadBytes& leadBytes);
