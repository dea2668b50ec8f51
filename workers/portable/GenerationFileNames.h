#pragma once
// The names of the files a generation folder holds for the lines of its list of backups. Each line
// gets its backup file's own name, made safe as a bare file name; when that name is taken in the
// folder (lines kept from an earlier list may lead to another folder's file of the same name, and
// Windows tells no names apart by letter case), the duplicate mark and the first free number from 2
// go before the extension. The generation's own files (its list, digests and record) are never
// given out.
//
// Platform-free; any thread. One object per generation being written, owned by its pass.

#include <set>

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"

class GenerationFileNames {
public:
    // Names in the code page of `leadBytes`.
    explicit GenerationFileNames(const LeadBytes& leadBytes = ActiveLeadBytes());

    // A free name in the generation folder for the line of entry `entryName` whose backup file is
    // at `backupPath`, taken from then on. The name is the last name of `backupPath` (or, when
    // that has none, the entry's safe file name with the backup extension), with any character a
    // file name cannot hold replaced. A name the system then finds already there (another file's
    // short 8.3 name, say) is taken too: ask again for the next free one.
    Text Claim(const Text& backupPath, const Text& entryName);

    // Takes `fileName` in the folder, so that Claim never gives it out (a temporary file's name).
    void Reserve(const Text& fileName);

private:
    bool Take(const Text& fileName);

    LeadBytes leadBytes_;
    std::set<Text> taken_;  // by FoldFileNameCase
};
