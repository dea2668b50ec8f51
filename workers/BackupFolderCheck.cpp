#include "workers/BackupFolderCheck.h"

#include <windows.h>

#include <atomic>

#include "common/ResolvedPath.h"
#include "common/WinHandles.h"
#include "common/portable/AbsolutePath.h"
#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/PathText.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "workers/portable/BackupFileName.h"
#include "workers/portable/PassTexts.h"

namespace {

// A name for the file that tries whether the folder takes a new one. The process id and a count
// make a name no other check uses at the same time; its length is that of the shortest staging
// name of this process (a one-character entry name's, in the short form), so a folder in which
// the probe fits has room for a backup.
Text NewProbeName() {
    static std::atomic<unsigned> count{0};
    return kWriteCheckFileLeadIn + IntToText(GetCurrentProcessId()) + "-" + IntToText(++count) + kWriteCheckFileExt;
}

bool CanCreateFileIn(const Text& folder, const Text& probeName) {
    const Text probe = JoinPath(folder, probeName, ActiveLeadBytes());
    UniqueFileHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                      nullptr));
    if (!file)
        return false;
    file.reset();
    // Deleted on close; should a file system not honour that, it goes here.
    DeleteFileA(probe.c_str());
    return true;
}

FolderProblem Problem(const Text& folder) {
    const Text probeName = NewProbeName();
    if (JoinPath(folder, probeName, ActiveLeadBytes()).size() > kMaxPathBytes)
        return FolderProblem::TooLong;
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        // A scheduled task run without the user sees none of the user's mapped drive letters.
        if (folder.size() >= 2 && folder[1] == ':' &&
            GetDriveTypeA((folder.substr(0, 2) + kPathSep).c_str()) == DRIVE_NO_ROOT_DIR)
            return FolderProblem::DriveMissing;
        switch (error) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_NAME:
            case ERROR_BAD_PATHNAME:
            case ERROR_INVALID_DRIVE:
                return FolderProblem::Missing;
            case ERROR_FILENAME_EXCED_RANGE:
                return FolderProblem::TooLong;
            default:
                return FolderProblem::Unreachable;
        }
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return FolderProblem::NotAFolder;
    return CanCreateFileIn(folder, probeName) ? FolderProblem::None : FolderProblem::NotWritable;
}

}  // namespace

FolderCheck CheckBackupFolder(const Text& folder) {
    if (folder.empty())
        return {FolderProblem::Empty, Text()};
    if (!IsAbsoluteWindowsPath(folder, ActiveLeadBytes()))
        return {FolderProblem::NotAbsolute, Text()};
    // Resolved first: the short names and the ".." steps of what was typed are not what the paths
    // of the backup files will be.
    const Text canonical = CanonicalFolder(folder);
    return {Problem(canonical), canonical};
}
