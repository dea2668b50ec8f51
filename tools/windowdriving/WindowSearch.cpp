#include "tools/windowdriving/WindowSearch.h"

namespace {

struct Search {
    const WindowMatch* match;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    const WindowMatch& match = *search->match;
    if (!IsWindowVisible(window))
        return TRUE;
    if (match.processId) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != match.processId)
            return TRUE;
    }
    if (!match.className.empty() && ClassOf(window) != match.className)
        return TRUE;
    if (match.title && TitleOf(window) != *match.title)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindVisibleWindow(const WindowMatch& match) {
    Search search{&match, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Text ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

Text TitleOf(HWND window) {
    char title[512] = {};
    GetWindowTextA(window, title, sizeof(title));
    return title;
}
