#include "toollink/PathQueries.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "common/WinHandles.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"

bool IsDirectory(const Text& path) {
    return ::PathIsDirectoryA(path.c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}

bool PathExists(const Text& path) {
    return ::PathFileExistsA(path.c_str()) == TRUE;
}

bool FileOrFolderExists(const Text& path) {
    if (path.empty() || path.find_first_of("*?<>\"") != Text::npos)
        return false;
    WIN32_FIND_DATAA data;
    const UniqueFindHandle find(::FindFirstFileA(path.c_str(), &data));
    return static_cast<bool>(find);
}

namespace {

constexpr int kBufferSize = MAX_PATH;  // 260

// Shell folder numbers of kinds 1 to 8 (index kind - 1).
constexpr int kShellFolders[8] = {CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
                                  CSIDL_STARTMENU, CSIDL_PROGRAMS,  CSIDL_STARTUP,          CSIDL_APPDATA};

// A length-returning query succeeded only when the path fitted: a larger result is the size
// the buffer would have needed, and the buffer then holds nothing of the path.
bool Fitted(UINT length) {
    return length > 0 && length < kBufferSize;
}

}  // namespace

Text SpecialFolder(int32_t kind) {
    char buffer[kBufferSize + 1];
    ::FillMemory(buffer, kBufferSize, ' ');
    buffer[kBufferSize] = '\0';
    if (kind == 0)
        kind = 3;

    bool ok = false;
    if (kind >= 1 && kind <= 8)
        ok = ::SHGetSpecialFolderPathA(nullptr, buffer, kShellFolders[kind - 1], FALSE) != FALSE;
    else if (kind == 9)
        ok = Fitted(::GetWindowsDirectoryA(buffer, kBufferSize));
    else if (kind == 10)
        ok = Fitted(::GetSystemDirectoryA(buffer, kBufferSize));
    else if (kind == 11)
        ok = Fitted(::GetTempPathA(kBufferSize, buffer));
    else if (kind == 12)
        ok = ::SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_INTERNET_CACHE, FALSE) != FALSE;
    if (!ok)
        return Text();

    Text path(buffer);  // up to the first zero byte
    if (path.empty())
        return Text();
    // Double-byte aware: a second byte may be 0x5C, which is not a separator.
    if (FindTextBackward(path, kPathSep) != static_cast<int>(path.size()))
        path += kPathSep;
    return path;
}

Text FolderOf(const Text& path) {
    return LeftText(path, FindTextBackward(path, kPathSep));
}
