#pragma once
// Backup file names: whatever an entry is called, its backup file lands inside the chosen folder
// under a name Windows accepts, and no two entries of one pass share a file.
//
// Platform-free; any thread. Each pass owns its own BackupPathPicker.

#include <set>

#include "common/Text.h"

// `name` made fit to be a file name (without extension) in code page 936:
//  - each character a Windows file name cannot hold (< > : " / \ | ? * and control bytes) becomes
//    the filler; a double-byte character is kept whole, even when its second byte is '\' or '|';
//    a lead byte without a valid second byte becomes the filler;
//  - dots and spaces at the end become the filler;
//  - a device name (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$, in any letter case and
//    with or without something after a dot) gets the filler in front.
// An empty name gives the filler alone. Names that need none of this are returned unchanged.
Text SafeFileStem(const Text& name);

// Chooses the backup file path of each entry of one pass.
class BackupPathPicker {
public:
    // folder + "\" + SafeFileStem(name) + extension. When an earlier entry of this pass already
    // has that path (compared as Windows compares file names: ASCII letters in any case), a
    // duplicate mark and the first free number from 2 go before the extension.
    Text Pick(const Text& folder, const Text& name);

private:
    std::set<Text> taken_;  // folded paths handed out so far
};
