#pragma once
// Writes real shell shortcut files for the tests, through the shell-link interface.

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/ComOwners.h"
#include "common/portable/Text.h"

// Writes a shortcut at `lnkPath` whose target is `target`; true when the file was saved.
inline bool WriteShortcutFile(const Text& lnkPath, const Text& target) {
    ScopedComInit com;
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid())))
        return false;
    if (FAILED(link->SetPath(target.c_str())))
        return false;
    ComPtr<IPersistFile> file = link.As<IPersistFile>();
    if (!file)
        return false;
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, lnkPath.c_str(), -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, lnkPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    return SUCCEEDED(file->Save(wide.c_str(), TRUE));
}

// Makes the shortcut at `lnkPath` record its target relative to environment variables as well, as
// the shell of Windows does for a target under such a folder: `recorded` (say
// "%ProgramFiles%\Tool\tool.exe") goes into the environment block before the closing block,
// and the header announces it. Wine's shell writes no such block and reads none back, so its
// reading of the shortcut stays the plain target the shortcut was written with: write that as the
// shell of 64-bit Windows would report it to a 64-bit program, the recorded text expanded with
// this program's own environment. True when the file was rewritten.
inline bool AddEnvironmentTarget(const Text& lnkPath, const Text& recorded) {
    HANDLE file = CreateFileA(lnkPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> bytes(GetFileSize(file, nullptr));
    DWORD done = 0;
    bool ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size() &&
              bytes.size() >= 0x4C + 4;
    // The file ends with the closing block: four zero bytes.
    ok = ok && bytes[bytes.size() - 4] == 0 && bytes[bytes.size() - 3] == 0 && bytes[bytes.size() - 2] == 0 &&
         bytes[bytes.size() - 1] == 0;
    if (ok) {
        bytes[0x15] = static_cast<char>(bytes[0x15] | 0x02);  // flag 0x200 of the flags at 0x14
        std::vector<char> block(0x314, '\0');
        const DWORD size = 0x314;
        const DWORD signature = 0xA0000001;
        std::memcpy(block.data(), &size, 4);
        std::memcpy(block.data() + 4, &signature, 4);
        std::memcpy(block.data() + 8, recorded.c_str(), std::min<size_t>(recorded.size(), 259));
        MultiByteToWideChar(CP_ACP, 0, recorded.c_str(), -1, reinterpret_cast<wchar_t*>(block.data() + 8 + 260), 259);
        bytes.insert(bytes.end() - 4, block.begin(), block.end());
        ok = SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
             WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
    }
    CloseHandle(file);
    return ok;
}
