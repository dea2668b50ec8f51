#include "workers/StagedBackup.h"

#include <windows.h>

#include <atomic>

#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "common/WinHandles.h"
#include "workers/BackupFileName.h"
#include "workers/FileReplace.h"
#include "workers/PassTexts.h"

namespace {

// A staging name no writer used before: a stopped tool may still write to the name it was given,
// so no later backup may hand that name out again and take its file for complete.
Text NewStagingToken() {
    static std::atomic<unsigned> counter{0};
    return IntToText(GetCurrentProcessId()) + "-" + IntToText(++counter);
}

}  // namespace

StagedBackup::StagedBackup(const Text& file) : file_(file), staging_(::StagingPath(file, NewStagingToken())) {}

StagedBackup::Outcome StagedBackup::Commit() {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(staging_.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return Outcome::NothingWritten;
    if (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0) {
        DeleteFileA(staging_.c_str());
        return Outcome::NothingWritten;
    }
    if (ReplaceFileInOneStep(staging_, file_))
        return Outcome::Replaced;
    DeleteFileA(staging_.c_str());
    return Outcome::NotReplaced;
}

void StagedBackup::Discard() {
    DeleteFileA(staging_.c_str());
}

void RemoveLeftoverStagingFiles(const Text& folder) {
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA((folder + kPathSep + "*" + kStagingFileExt).c_str(), &found));
    if (!search)
        return;
    do {
        // The search also matches short names and other endings; only the long name counts.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsStagingFileName(found.cFileName))
            DeleteFileA((folder + kPathSep + found.cFileName).c_str());
    } while (FindNextFileA(search.get(), &found));
}
