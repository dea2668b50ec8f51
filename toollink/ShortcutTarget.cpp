#include "toollink/ShortcutTarget.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "automation/AutomationAccess.h"
#include "automation/AutomationObject.h"
#include "common/ComOwners.h"
#include "common/portable/TextOps.h"
#include "toollink/PathQueries.h"
#include "toollink/ThirtyTwoBitView.h"
#include "toollink/portable/vocabulary/LocationTexts.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"

namespace {

// The late-bound route: the shell's scripting object opens the shortcut and reports its target.
// Empty when any step fails (some shells cannot read a target this way).
Text TargetThroughShellObject(const Text& path) {
    AutomationObject shell;
    if (!CreateObject(shell, kShellClass, kShellLibrary))
        return Text();
    AutomationObject shortcut = CallMethod<AutomationObject>(shell, kOpenShortcutMethod, path);
    ReleaseObject(shell);
    if (IsEmptyObject(shortcut))
        return Text();
    return GetProperty<Text>(shortcut, kTargetProperty);
}

// The shell-link interface reads every shortcut file the shell writes.
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
    // The scripting object gives no target for a file that is not a shortcut, and under some
    // shells for none at all: the shell-link interface then reads the file itself.
    Text target = TargetThroughShellObject(path);
    if (target.empty())
        target = TargetThroughShellLink(path);
    // A shortcut written by a 32-bit installer records a target under "Program Files (x86)" as
    // "%ProgramFiles%\...", and the shell expands that with the environment of the program that
    // reads it: this 64-bit program is told "Program Files". Where the target as a 32-bit program
    // reads it exists, that is the one; a shortcut of a 64-bit installer keeps its own target.
    const Text thirtyTwoBitTarget = ShortcutTargetAsThirtyTwoBitProgram(path);
    if (!thirtyTwoBitTarget.empty() && thirtyTwoBitTarget != target && FileOrFolderExists(thirtyTwoBitTarget))
        return thirtyTwoBitTarget;
    return target;
}
