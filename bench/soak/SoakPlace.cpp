#include "bench/soak/SoakPlace.h"

#include <windows.h>

#include "app/program/Settings.h"
#include "bench/soak/SoakFiles.h"
#include "tests/support/TestPaths.h"
#include "tools/entryctl/ToolFolder.h"
#include "workers/portable/ManifestText.h"

namespace {

constexpr char kProgramExe[] = "EntryKeeper.exe";

}  // namespace

SoakPlace::SoakPlace(const Text& folder) : folder_(folder) {
    CreateDirectoryA(ProgramFolder().c_str(), nullptr);
    CreateDirectoryA(BackupFolder().c_str(), nullptr);
    const Text program = ProgramFolder() + "\\" + kProgramExe;
    ready_ = tool_.IsInstalled() && CopyFileA(BuiltProgramPath(kProgramExe).c_str(), program.c_str(), FALSE);
}

Text SoakPlace::StorePath() const {
    return ToolFolder() + "\\" + entryctl::kEntriesFile;
}

Text SoakPlace::ListPath() const {
    return ManifestPath(ProgramFolder());
}

bool SoakPlace::Reset(const ToolEntries& entries) const {
    const Text settings = "[" + Text(kFolderItem) + "]\r\n" + kFolderItem + "=" + BackupFolder() + "\r\n";
    DeleteFileA((ToolFolder() + "\\" + entryctl::kFaultsFile).c_str());
    DeleteFileA((ToolFolder() + "\\" + entryctl::kJournalFile).c_str());
    return EmptyFolder(ProgramFolder(), {kProgramExe}) && EmptyFolder(BackupFolder()) &&
           WriteWholeFile(ProgramFolder() + kSettingsFileName, settings) && WriteToolStore(StorePath(), entries);
}
