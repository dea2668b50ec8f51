#include "tests/support/TestPaths.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <sstream>

#include "common/WinHandles.h"

namespace {

// Calls `visit` with the find data of everything directly inside `folder` ("." and ".." left out).
void ForEachIn(const Text& folder, const std::function<void(const WIN32_FIND_DATAA&)>& visit) {
    WIN32_FIND_DATAA data;
    UniqueFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
    if (!find)
        return;
    do {
        const Text name = data.cFileName;
        if (name != "." && name != "..")
            visit(data);
    } while (FindNextFileA(find.get(), &data));
}

void RemoveTree(const Text& folder) {
    ForEachIn(folder, [&](const WIN32_FIND_DATAA& data) {
        const Text full = folder + "\\" + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(full);
        } else {
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(full.c_str());
        }
    });
    RemoveDirectoryA(folder.c_str());
}

Text TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    Text base = temp;
    if (!base.empty() && base.back() == '\\')
        base.pop_back();
    return base;
}

}  // namespace

Text BuiltProgramFolder() {
    char buffer[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    Text path(buffer, n);
    size_t slash = path.find_last_of("\\/");
    return slash == Text::npos ? Text(".") : path.substr(0, slash);
}

Text BuiltProgramPath(const Text& exeName) {
    return BuiltProgramFolder() + "\\" + exeName;
}

Text EnvironmentFolder(const char* name) {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableA(name, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Text(buffer, length) : Text();
}

Text SecondDriveRoute(const Text& path) {
    const Text prefix = EnvironmentFolder("WINEPREFIX");
    if (prefix.empty() || prefix[0] != '/' || path.size() < 3 ||
        (path.compare(0, 3, "C:\\") != 0 && path.compare(0, 3, "c:\\") != 0))
        return Text();
    Text route = "Z:" + prefix + "/drive_c" + path.substr(2);
    for (char& c : route) {
        if (c == '/')
            c = '\\';
    }
    return route;
}

ScratchFolder::ScratchFolder() : ScratchFolder(TempFolder()) {}

ScratchFolder::ScratchFolder(const Text& parent, const Text& folderName) {
    if (!folderName.empty()) {
        const Text path = parent + "\\" + folderName;
        if (CreateDirectoryA(path.c_str(), nullptr))
            path_ = path;
        return;
    }
    static std::atomic<int> counter{0};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::ostringstream name;
        name << parent << "\\ek-test-" << GetCurrentProcessId() << "-" << counter++ << "-" << GetTickCount();
        if (CreateDirectoryA(name.str().c_str(), nullptr)) {
            path_ = name.str();
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty())
        RemoveTree(path_);
}

Text ScratchFolder::File(const Text& name) const {
    return path_ + "\\" + name;
}

Text ReadWholeFile(const Text& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Text();
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool WriteWholeFile(const Text& path, const Text& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool FileExists(const Text& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<Text> FilesIn(const Text& folder) {
    std::vector<Text> names;
    ForEachIn(folder, [&](const WIN32_FIND_DATAA& data) {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    });
    return names;
}

std::vector<Text> NamesIn(const Text& folder) {
    std::vector<Text> names;
    ForEachIn(folder, [&](const WIN32_FIND_DATAA& data) { names.push_back(data.cFileName); });
    return names;
}

Text CurrentDirectory() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH + 1, buffer);
    return length > 0 && length <= MAX_PATH ? Text(buffer, length) : Text();
}
