#include "workers/ManifestFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "common/TextOps.h"
#include "common/WinHandles.h"
#include "workers/FileReplace.h"

namespace {

// A name beside `path` that no other writer of this process uses at the same moment.
Text TemporaryPathBeside(const Text& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".~" + IntToText(GetCurrentProcessId()) + "-" + IntToText(counter++) + ".tmp";
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

bool ReplaceManifest(const Text& path, const Text& content) {
    Text temporary;
    UniqueFileHandle file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = TemporaryPathBeside(path);
        file.reset(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (!file)
        return false;
    bool written = WriteAllAndFlush(file.get(), content);
    file.reset();
    if (written && ReplaceFileInOneStep(temporary, path))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
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
