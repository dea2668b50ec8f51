#include "app/passes/PassLock.h"

#include <utility>

#include "common/portable/TextOps.h"
#include "tooldriver/CommandRunner.h"

namespace {

constexpr DWORD kRetryPauseMs = 50;

}  // namespace

Text PassLockPath(const Text& programFolder) {
    return programFolder + "\\" + kPassLockFileName;
}

UniqueFileHandle OpenLockFile(const Text& path, DWORD& error) {
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    error = file ? ERROR_SUCCESS : GetLastError();
    return file;
}

PassLock::PassLock(const Text& programFolder, LockFileOpener opener)
    : path_(PassLockPath(programFolder)), open_(std::move(opener)) {}

PassLockResult PassLock::Acquire() {
    if (file_)
        return PassLockResult::Held;
    DWORD error = ERROR_SUCCESS;
    const DWORD start = GetTickCount();
    for (;;) {
        if (UniqueFileHandle file = open_(path_, error)) {
            file_ = std::move(file);
            return PassLockResult::Held;
        }
        if (error != ERROR_ACCESS_DENIED || GetTickCount() - start >= kPassLockRetryMs)
            break;
        Sleep(kRetryPauseMs);
    }
    if (error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && LockFileExists()))
        return PassLockResult::HeldElsewhere;
    return FolderTakesNewFiles() ? PassLockResult::HeldElsewhere : PassLockResult::FolderNotWritable;
}

bool PassLock::LockFileExists() const {
    // The folder's listing still shows a file that waits to be deleted, where opening it fails.
    WIN32_FIND_DATAA found;
    return static_cast<bool>(UniqueFindHandle(FindFirstFileA(path_.c_str(), &found)));
}

bool PassLock::FolderTakesNewFiles() const {
    static LONG probes = 0;
    const Text probe = path_ + "." + IntToText(static_cast<int32_t>(GetCurrentProcessId())) + "." +
                       IntToText(InterlockedIncrement(&probes)) + ".probe";
    DWORD error = ERROR_SUCCESS;
    // Deleted as it closes.
    return static_cast<bool>(open_(probe, error));
}

bool PassLock::ShareWith(const RunningProcess& tool) {
    return file_ && KeepOpenUntilEnded(tool, file_.get());
}
