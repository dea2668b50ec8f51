#include "workers/PreviousBackup.h"

#include <windows.h>

#include "common/TextOps.h"
#include "workers/PassTexts.h"
#include "workers/PathIsPresent.h"

bool PreviousBackup::SetAside(const Text& file) {
    file_ = file;
    asidePath_.clear();
    if (!PathIsPresent(file))
        return true;
    for (int n = 1; n <= 1000; ++n) {
        Text candidate = file + kSetAsideSuffix + (n == 1 ? Text() : IntToText(n));
        // No replace: a copy left by an earlier stopped pass is somebody's data too.
        if (MoveFileExA(file.c_str(), candidate.c_str(), 0)) {
            asidePath_ = candidate;
            return true;
        }
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}

bool PreviousBackup::Settle(bool toolFinished) {
    bool written = PathIsPresent(file_);
    if (asidePath_.empty())
        return written;
    if (written) {
        if (toolFinished)
            DeleteFileA(asidePath_.c_str());
    } else {
        // No replace: should a still-running tool create the file meanwhile, both files stay.
        MoveFileExA(asidePath_.c_str(), file_.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    asidePath_.clear();
    return written;
}
