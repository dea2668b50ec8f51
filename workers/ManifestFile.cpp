#include "workers/ManifestFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "common/WinHandles.h"
#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/PathText.h"

namespace {

Text Hex(unsigned long value) {
    char digits[2 * sizeof value + 1];
    std::snprintf(digits, sizeof digits, "%lx", value);
    return digits;
}

// A name beside `path` that no other writer uses at the same moment: the process id and a count,
// in hexadecimal ("~1f4-0.tmp"). At most 22 bytes, so never longer than the manifest's own name.
Text TemporaryPathBeside(const Text& path) {
    static std::atomic<unsigned> counter{0};
    return path.substr(0, FileNameStart(path, ActiveLeadBytes())) + "~" + Hex(GetCurrentProcessId()) + "-" +
           Hex(counter++) + ".tmp";
}

bool IsHexDigits(const Text& text) {
    return !text.empty() && text.find_first_not_of("0123456789abcdef") == Text::npos;
}

// Deletes the temporary files that writers killed between writing and renaming left beside `path`:
// names of exactly TemporaryPathBeside's shape made by another process. One copy at a time runs
// passes on a program folder (the pass lock), so such a file has no writer any more; this process's
// own are left to the writer that is using them.
void RemoveLeftoverTemporaryFiles(const Text& path) {
    const Text folder = path.substr(0, FileNameStart(path, ActiveLeadBytes()));
    const Text ownPrefix = "~" + Hex(GetCurrentProcessId()) + "-";
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA((folder + "~*.tmp").c_str(), &found));
    if (!search)
        return;
    do {
        const Text name = found.cFileName;
        const size_t dash = name.find('-');
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || name.size() < 8 || dash == Text::npos ||
            name.compare(name.size() - 4, 4, ".tmp") != 0 || name.rfind(ownPrefix, 0) == 0 ||
            !IsHexDigits(name.substr(1, dash - 1)) || !IsHexDigits(name.substr(dash + 1, name.size() - 4 - dash - 1)))
            continue;
        DeleteFileA((folder + name).c_str());
    } while (FindNextFileA(search.get(), &found));
}

bool WriteAllAndFlush(HANDLE file, const Text& content) {
    size_t done = 0;
    while (done < content.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return FlushFileBuffers(file) != 0;
}

}  // namespace

ReplaceResult ReplaceManifest(const Text& path, const Text& content) {
    RemoveLeftoverTemporaryFiles(path);
    Text temporary;
    UniqueFileHandle file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = TemporaryPathBeside(path);
        file.reset(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS)
            return ReplaceResult::Failed;
    }
    if (!file)
        return ReplaceResult::Failed;
    const bool written = WriteAllAndFlush(file.get(), content);
    file.reset();
    const ReplaceResult result = written ? ReplaceFileInOneStep(temporary, path) : ReplaceResult::Failed;
    if (result != ReplaceResult::Replaced)
        DeleteFileA(temporary.c_str());
    return result;
}

std::optional<Text> ReadManifest(const Text& path) {
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return Text();
        return std::nullopt;
    }
    Text content;
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
            return std::nullopt;
        if (read == 0)
            return content;
        content.append(buffer, read);
    }
}
