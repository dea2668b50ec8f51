#include "toollink/ShortcutTarget.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "common/ComOwners.h"
#include "common/TextOps.h"
#include "toollink/vocabulary/LocationTexts.h"
#include "toollink/vocabulary/ToolInstallTexts.h"

namespace {

// The shell-link interface reads every shortcut the shell writes. (The shell's scripting object
// is the late-bound route to the same data, but some shells cannot read a target through it.)
Text TargetThroughShellLink(const Text& path) {
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid())))
        return Text();
    ComPtr<IPersistFile> file = link.As<IPersistFile>();
    if (!file)
        return Text();
    int wideLength = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (wideLength <= 0)
        return Text();
    std::vector<wchar_t> widePath(wideLength);
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath.data(), wideLength);
    if (FAILED(file->Load(widePath.data(), STGM_READ)))
        return Text();
    char target[MAX_PATH + 1] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, 0)))
        return Text();
    return Text(target);
}

}  // namespace

Text ShortcutTarget(const Text& path) {
    if (FindText(path, kShortcutExt) == -1)
        return Text();
    ScopedComInit com;
    return TargetThroughShellLink(path);
}
