#pragma once
// The entries of one entryctl folder, kept in kEntriesFile.
//
// File format: one entry per line, lines ending in "\r\n", eight fields separated by a tab:
//   number, name, kind, label, state, position, locked (0 or 1), content.
// Inside a field a backslash, tab, carriage return, line feed and zero byte are written as
// \\ \t \r \n \0 (byte by byte, so double-byte names survive untouched). Lines that do not
// parse are skipped. A test may write this file directly or use the admin commands.

#include <vector>

#include "common/portable/Text.h"
#include "tools/entryctl/FieldEscape.h"

namespace entryctl {

struct StoredEntry {
    int number = 0;
    Text name;
    Text kind;
    Text label;
    Text state;
    Text position;
    bool locked = false;
    Text content;
};

class EntryStore {
public:
    // Reads kEntriesFile (a missing file is an empty store).
    void Load();
    // Writes kEntriesFile whole (temporary file, then moved over the old one).
    bool Save() const;

    // The entry addressed by `designator`: by number when `byNumber`, else by exact name.
    StoredEntry* Find(const Text& designator, bool byNumber);
    StoredEntry* FindByName(const Text& name);
    // Adds an entry with the next free number and returns it.
    StoredEntry& Add(const Text& name);
    bool Remove(int number);
    const std::vector<StoredEntry>& Entries() const { return entries_; }

private:
    std::vector<StoredEntry> entries_;
};


}  // namespace entryctl
