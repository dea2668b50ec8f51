#include "workers/FileReplace.h"

#include <windows.h>

#include <atomic>
#include <iterator>

#include "common/portable/StopSignal.h"

namespace {

// The pauses between attempts, in milliseconds. Scanners and the indexer hold a new file for
// moments that reach seconds; a few quick attempts first keep the usual short hold short.
constexpr DWORD kRetryPausesMs[] = {25, 50, 100, 200, 400, 800, 1000, 1000, 1000, 1000};

std::atomic<int> injectedFailures{0};
std::atomic<unsigned long> injectedError{0};

// Takes one injected failure, if any is left; its error in `error`.
bool TakeInjectedFailure(DWORD* error) {
    for (int left = injectedFailures.load(); left > 0;) {
        if (injectedFailures.compare_exchange_weak(left, left - 1)) {
            *error = injectedError.load();
            return true;
        }
    }
    return false;
}

bool IsReadOnly(const Text& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

ReplaceResult ReplaceFileInOneStep(const Text& from, const Text& to) {
    if (IsReadOnly(to))
        return ReplaceResult::TargetReadOnly;
    for (size_t attempt = 0;; ++attempt) {
        DWORD error = 0;
        if (!TakeInjectedFailure(&error)) {
            if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return ReplaceResult::Replaced;
            error = GetLastError();
        }
        if (attempt == std::size(kRetryPausesMs) ||
            (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || CurrentThreadShouldStop())
            return ReplaceResult::Failed;
        Sleep(kRetryPausesMs[attempt]);
    }
}

void InjectReplaceFailures(int count, unsigned long error) {
    injectedError = error;
    injectedFailures = count;
}
