#include "bench/soak/SoakFiles.h"

#include <windows.h>

#include <algorithm>
#include <functional>

#include "common/WinHandles.h"
#include "common/portable/TextOps.h"

namespace {

// Calls `visit` with the name and attributes of everything inside `folder`.
void ForEachIn(const Text& folder, const std::function<void(const Text&, DWORD)>& visit) {
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search)
        return;
    do {
        const Text name = found.cFileName;
        if (name != "." && name != "..")
            visit(name, found.dwFileAttributes);
    } while (FindNextFileA(search.get(), &found));
}

}  // namespace

bool CopyFolder(const Text& from, const Text& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    bool ok = true;
    ForEachIn(from, [&](const Text& name, DWORD attributes) {
        const Text source = from + "\\" + name;
        const Text target = to + "\\" + name;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CopyFolder(source, target) && ok;
        else
            ok = CopyFileA(source.c_str(), target.c_str(), FALSE) && ok;
    });
    return ok;
}

bool EmptyFolder(const Text& folder, const std::vector<Text>& keep) {
    bool ok = true;
    ForEachIn(folder, [&](const Text& name, DWORD attributes) {
        const Text path = folder + "\\" + name;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = EmptyFolder(path) && RemoveDirectoryA(path.c_str()) && ok;
            return;
        }
        if (std::any_of(keep.begin(), keep.end(), [&](const Text& k) { return EqualsIgnoreCase(k, name); }))
            return;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ok = DeleteFileA(path.c_str()) && ok;
    });
    return ok;
}
