#include "workers/StagedBackup.h"

#include <windows.h>

#include <atomic>

#include "common/WinHandles.h"
#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/PathText.h"
#include "common/portable/TextOps.h"
#include "workers/FileReplace.h"
#include "workers/portable/BackupFileName.h"
#include "workers/portable/PassTexts.h"

namespace {

// A staging name no writer used before: a stopped tool may still write to the name it was given,
// so no later backup may hand that name out again and take its file for complete.
Text NewStagingToken() {
    static std::atomic<unsigned> counter{0};
    return IntToText(GetCurrentProcessId()) + "-" + IntToText(++counter);
}

// Hands what the system still caches of the file to the disk. The handle denies other writers, so
// a file that someone still writes (what a tool left running started) is not taken for complete.
bool Flush(const Text& path) {
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.get());
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
    if (!Flush(staging_)) {
        DeleteFileA(staging_.c_str());
        return Outcome::NotSaved;
    }
    const ReplaceResult result = ReplaceFileInOneStep(staging_, file_);
    if (result == ReplaceResult::Replaced)
        return Outcome::Replaced;
    DeleteFileA(staging_.c_str());
    return result == ReplaceResult::TargetReadOnly ? Outcome::ReadOnly : Outcome::NotReplaced;
}

void StagedBackup::Discard() {
    DeleteFileA(staging_.c_str());
}

void RemoveLeftoverStagingFiles(const Text& folder) {
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(
        FindFirstFileA(JoinPath(folder, Text("*") + kStagingFileExt, ActiveLeadBytes()).c_str(), &found));
    if (!search)
        return;
    do {
        // The search also matches short names and other endings; only the long name counts.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsStagingFileName(found.cFileName))
            DeleteFileA(JoinPath(folder, found.cFileName, ActiveLeadBytes()).c_str());
    } while (FindNextFileA(search.get(), &found));
}
