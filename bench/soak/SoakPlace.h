#pragma once
// Where the soak works. Under its own folder: the program's folder (a copy of the built program, its
// settings, which name the backup folder, and its list of backups), the backup folder, the
// reference copy of the entries as of the last backup that finished "all done", and the kept
// files of broken rounds. The stand-in tool is installed as a user installs it (InstalledTool.h),
// so the program finds it through the registry value; the soak puts the value back as it found it.
//
// One thread. Only one soak runs in a build's Wine prefix at a time, and no test beside it (the
// registry value is shared by the whole prefix).

#include "bench/soak/ToolStore.h"
#include "common/portable/Text.h"
#include "tests/support/InstalledTool.h"

class SoakPlace {
  public:
    // Makes the folders under `folder` (an existing folder, without a closing separator), copies the
    // built program and installs the tool.
    explicit SoakPlace(const Text& folder);

    // Whether everything was made, copied and installed.
    bool Ready() const { return ready_; }

    const Text& Folder() const { return folder_; }
    Text ProgramFolder() const { return folder_ + "\\program"; }
    Text BackupFolder() const { return folder_ + "\\backups"; }
    Text ToolFolder() const { return tool_.Folder(); }
    // The tool's store, the program's list of backups, the reference copy.
    Text StorePath() const;
    Text ListPath() const;
    Text ReferencePath() const { return folder_ + "\\reference.db"; }

    // Back to a known start: no list of backups and no backup file, the settings written afresh, no
    // fault switch and no journal in the tool, which holds `entries`. False on failure.
    bool Reset(const ToolEntries& entries) const;

  private:
    Text folder_;
    InstalledTool tool_;
    bool ready_ = false;
};
