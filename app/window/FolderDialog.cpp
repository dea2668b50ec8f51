#include "app/window/FolderDialog.h"

#include "app/window/ControlAccess.h"
#include "app/window/portable/ControlIds.h"
#include "automation/AutomationAccess.h"
#include "automation/AutomationObject.h"

namespace {

// Window thread only, so a plain flag is enough.
bool g_dialogOpen = false;

}  // namespace

void BrowseForBackupFolder(HWND window) {
    if (g_dialogOpen)
        return;
    g_dialogOpen = true;
    Text path;
    {
        // An empty holder answers every request with an empty value, so a failed step (no shell
        // object, a cancelled dialog) runs through to an empty path.
        AutomationObject shell;
        CreateObject(shell, kShellClass);
        AutomationObject folder = CallMethod<AutomationObject>(shell, kBrowseMethod, 0, kBrowseTitle,
                                                               kBrowseOptions, 0);
        AutomationObject item = GetProperty<AutomationObject>(folder, kFolderSelfMember);
        path = GetProperty<Text>(item, kItemPathMember);
        // Released in reverse order of creation.
        ReleaseObject(item);
        ReleaseObject(folder);
        ReleaseObject(shell);
    }
    g_dialogOpen = false;
    WriteControlText(window, kFolderFieldId, path);
}
