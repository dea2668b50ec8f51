#pragma once
// Backup file names: whatever an entry is called, its backup file lands inside the chosen folder
// under a name Windows accepts, and no two entries of one pass share a file.
//
// Platform-free; any thread. Each pass owns its own BackupPathPicker.

#include <map>
#include <optional>

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/FileId.h"
#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"

// `name` made fit to be a file name (without extension) in the code page of `leadBytes`:
//  - each character a Windows file name cannot hold (< > : " / \ | ? * and control bytes) becomes
//    the filler; a double-byte character is kept whole, even when its second byte is '\' or '|';
//    a lead byte without a valid second byte becomes the filler; a byte that is no lead byte is a
//    character of its own (in code page 936, 0x80 and 0xFF), so a '\' after it is a separator;
//  - dots and spaces at the end become the filler;
//  - a device name (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$, in any letter case and
//    with or without something after a dot) gets the filler in front.
// An empty name gives the filler alone. Names that need none of this are returned unchanged.
Text SafeFileStem(const Text& name, const LeadBytes& leadBytes);

// `path` as Windows compares file names, or coarser: every letter in upper case - ASCII letters,
// and the letters of the code page of `leadBytes` where they are known here (code page 936's
// full-width Latin, Greek and Cyrillic letters and Roman numerals; a one-byte code page's as in
// code page 1252). Double-byte characters stay whole.
Text FoldFileNameCase(const Text& path, const LeadBytes& leadBytes);

// Chooses the backup file path of each entry of one pass, so that no two entries of the pass share
// a file: neither two new backups, nor a new backup and an earlier one that the pass keeps in the
// manifest for an entry whose new backup failed. Paths are compared two ways: as Windows reads
// and compares them as text (separators as one, FoldFileNameCase), which covers names not yet on
// disk; and, for files that exist, by
// their identity (common/FileIdentity.h), which the caller asks the system for and hands in, so
// that one file reached by another spelling or route (a second drive letter, a share, a link) is
// still one file. Entries are told apart by their position in the pass (from 1), as two entries
// may bear the same name.
class BackupPathPicker {
public:
    explicit BackupPathPicker(const LeadBytes& leadBytes) : leadBytes_(leadBytes) {}
    // Under the code page the process runs under.
    BackupPathPicker() : BackupPathPicker(ActiveLeadBytes()) {}

    // Holds `path` (and `file`, the identity of what it names, when it exists) for the entry named
    // `name` (exact bytes): picks and claims for entries of other names pass it over. Called
    // before the first pick for every path the previous manifest records for a name the pass
    // lists. When two names reserve one path or one file, the first keeps it.
    void Reserve(const Text& name, const Text& path, std::optional<FileId> file = std::nullopt);

    // folder + "\" + SafeFileStem(name) + extension for entry `entry`, the folder taken without its
    // closing separators (a drive's root keeps its own). When that path is held by another entry,
    // or reserved for another name, a duplicate mark and the first free number from 2 go before the
    // extension. The folder should be one spelling of it (common/ResolvedPath.h: CanonicalFolder);
    // what the text cannot tell, Claim with the identity of the pick's file does.
    Text Pick(const Text& folder, const Text& name, int entry);

    // Hands `path` to entry `entry` named `name`, as Pick would: true when the path is free, held
    // by that entry already, or reserved for its name and not yet handed to another entry, and when
    // `file` (the identity of the file at `path`, when one exists) is likewise. When the file is
    // another's, the path is taken for that other entry from then on, so Pick passes it over.
    bool Claim(const Text& path, const Text& name, int entry, std::optional<FileId> file = std::nullopt);

    // A file that is no more: its backup file was replaced by a new file (which has an identity of
    // its own). The system may give its identity to a file made later.
    void Forget(FileId file) { files_.erase(file); }

private:
    struct Holder {
        Text name;
        int entry = 0;  // 0: reserved for the name, handed to no entry yet
    };
    // A path as the holders are found by: separators as the system reads them, letters folded.
    Text Key(const Text& path) const;
    static bool Admits(const Holder& holder, const Text& name, int entry) {
        return holder.name == name && (holder.entry == 0 || holder.entry == entry);
    }
    LeadBytes leadBytes_;
    std::map<Text, Holder> holders_;  // by Key
    std::map<FileId, Holder> files_;  // by identity, of the files known to exist
};

// The longest path, in bytes, that the file functions the tool and the passes use take (the
// platform's path limit less its closing zero).
inline constexpr size_t kMaxPathBytes = 259;

// The path the tool writes a new backup to before it takes `backupPath`'s place: beside it (same
// folder, so the replacement is one step), `token` (digits and '-') telling writers apart, ending
// in the staging extension, never in the backup extension. Normally the backup file's name with the
// token and the staging extension added; when that would be longer than kMaxPathBytes, a short
// name of the same shape in the same folder, so that a long entry name whose backup path fits can
// still be staged. `leadBytes`: the code page of `backupPath`, so a second byte equal to '\\' is
// never taken for the separator before the file name.
Text StagingPath(const Text& backupPath, const Text& token, const LeadBytes& leadBytes = ActiveLeadBytes());

// Whether `fileName` (without folder) is a name StagingPath gives, letters in any case.
bool IsStagingFileName(const Text& fileName);
