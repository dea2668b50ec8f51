#pragma once
// Writes real shell shortcut files for the tests, through the shell-link interface.

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>

#include "common/ComOwners.h"
#include "common/Text.h"

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
