#include "workers/FileReplace.h"

#include <windows.h>

namespace {

constexpr int kReplaceAttempts = 20;
constexpr DWORD kReplaceRetryMs = 25;

}  // namespace

bool ReplaceFileInOneStep(const Text& from, const Text& to) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (attempt == kReplaceAttempts || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(kReplaceRetryMs);
    }
}
