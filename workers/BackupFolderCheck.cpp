#include "workers/BackupFolderCheck.h"

#include <windows.h>

#include <atomic>

#include "common/AbsolutePath.h"
#include "common/ActiveLeadBytes.h"
#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "common/WinHandles.h"
#include "workers/PassTexts.h"

namespace {

// Whether the folder's last character is a separator (not the second byte of a double-byte one).
bool EndsWithSeparator(const Text& folder) {
    const LeadBytes& leadBytes = ActiveLeadBytes();
    bool separator = false;
    for (size_t pos = 0; pos < folder.size();) {
        const size_t length = leadBytes.CharLength(folder, pos);
        separator = length == 1 && (folder[pos] == '\\' || folder[pos] == '/');
        pos += length;
    }
    return separator;
}

bool CanCreateFileIn(const Text& folder) {
    static std::atomic<unsigned> count{0};
    // The process id and a count make a name no other check uses at the same time.
    const Text probe = folder + (EndsWithSeparator(folder) ? "" : kPathSep) + kWriteCheckFileLeadIn +
                       IntToText(GetCurrentProcessId()) + "-" + IntToText(++count) + kWriteCheckFileExt;
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

}  // namespace

FolderProblem CheckBackupFolder(const Text& folder) {
    if (folder.empty())
        return FolderProblem::Empty;
    if (!IsAbsoluteWindowsPath(folder, ActiveLeadBytes()))
        return FolderProblem::NotAbsolute;
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
            default:
                return FolderProblem::Unreachable;
        }
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return FolderProblem::NotAFolder;
    return CanCreateFileIn(folder) ? FolderProblem::None : FolderProblem::NotWritable;
}
