#pragma once
// A file that no program can write while the object lives: it is marked read-only and held open
// for reading by this process, sharing reading only. The attribute alone is not enough here: under
// Wine a program run by root writes a read-only file all the same (root may write any file), while
// the open handle stops every writer, as a viewer that locks the file does on Windows.

#include <windows.h>

#include "common/WinHandles.h"
#include "common/portable/Text.h"

class UnwritableFile {
public:
    // Creates `path` with `content` when it does not exist. Check IsHeld().
    explicit UnwritableFile(const Text& path, const Text& content = Text());
    // Lets go of the file and clears its read-only mark, so it can be removed.
    ~UnwritableFile();
    UnwritableFile(const UnwritableFile&) = delete;
    UnwritableFile& operator=(const UnwritableFile&) = delete;

    bool IsHeld() const { return static_cast<bool>(handle_); }

private:
    Text path_;
    UniqueFileHandle handle_;
};
