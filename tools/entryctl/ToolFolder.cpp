#include "tools/entryctl/ToolFolder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/WinHandles.h"

namespace entryctl {
namespace {

Text ProgramFolder() {
    char buffer[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof(buffer));
    Text path(buffer, n);
    size_t slash = path.find_last_of('\\');
    return slash == Text::npos ? Text(".") : path.substr(0, slash);
}

bool WriteAll(HANDLE file, const Text& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0)
            return false;
        done += wrote;
    }
    return true;
}

}  // namespace

Text InToolFolder(const char* name) {
    return ProgramFolder() + "\\" + name;
}

Text RecordsFile(int number) {
    return InToolFolder((kRecordsFilePrefix + std::to_string(number) + kRecordsFileSuffix).c_str());
}

void RemoveAllRecordsFiles() {
    WIN32_FIND_DATAA found{};
    const Text pattern = InToolFolder((Text(kRecordsFilePrefix) + "*" + kRecordsFileSuffix).c_str());
    UniqueFindHandle search(FindFirstFileA(pattern.c_str(), &found));
    if (!search)
        return;
    do {
        DeleteFileA(InToolFolder(found.cFileName).c_str());
    } while (FindNextFileA(search.get(), &found));
}

bool ReadBytes(const Text& path, Text* bytes) {
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30))
        return false;
    bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes->size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes->data() + done, static_cast<DWORD>(bytes->size() - done), &got, nullptr) ||
            got == 0)
            return false;
        done += got;
    }
    return true;
}

bool ReplaceFileBytes(const Text& path, const Text& bytes) {
    Text temp = path + ".tmp" + std::to_string(GetCurrentProcessId());
    {
        UniqueFileHandle file(
            CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return false;
        if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            file.reset();
            DeleteFileA(temp.c_str());
            return false;
        }
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

bool AppendBytes(const Text& path, const Text& bytes) {
    UniqueFileHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), bytes);
}

std::vector<Text> SplitLines(const Text& bytes) {
    std::vector<Text> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        Text line = bytes.substr(pos, end == Text::npos ? Text::npos : end - pos);
        pos = end == Text::npos ? bytes.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

FolderLock::FolderLock() {
    // One lock per folder: the name carries a hash of the folder's path (no backslashes allowed).
    Text folder = InToolFolder("");
    unsigned hash = 2166136261u;
    for (unsigned char c : folder)
        hash = (hash ^ static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c)) * 16777619u;
    char name[64];
    std::snprintf(name, sizeof(name), "Local\\entryctl-folder-%08x", hash);
    mutex_ = CreateMutexA(nullptr, FALSE, name);
    if (mutex_)
        WaitForSingleObject(mutex_, INFINITE);  // WAIT_ABANDONED (a killed run) grants it too
}

FolderLock::~FolderLock() {
    Release();
}

void FolderLock::Release() {
    if (mutex_) {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }
}

}  // namespace entryctl
