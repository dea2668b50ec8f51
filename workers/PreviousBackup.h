#pragma once
// Keeps an entry's previous backup file while the tool writes the new one, so a backup the tool
// fails to write never costs the one before it.
//
// Use: SetAside(file) before the tool runs, Settle(...) after it. Any thread; one object per entry.

#include "common/Text.h"

class PreviousBackup {
public:
    // When a file exists at `file`, moves it to a free name beside it (same folder, so the move
    // never copies). True when there was no file or it was moved; false when a file is there but
    // could not be moved; it is then untouched and the tool must not be run for it.
    bool SetAside(const Text& file);

    // True when SetAside moved a previous file away.
    bool HasPrevious() const { return !asidePath_.empty(); }

    // Called once the tool's command has returned. When the new file exists it is kept, and the
    // previous copy is deleted, but only when `toolFinished` says the tool surely ended (a stopped
    // pass leaves the tool running, so its file may still be growing: the copy then stays under
    // its set-aside name). When no new file exists the previous one goes back to its own name.
    // Returns whether the tool wrote a new file.
    bool Settle(bool toolFinished);

private:
    Text file_;
    Text asidePath_;
};
