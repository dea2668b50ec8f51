#include "app/program/ProgramFolder.h"

#include <windows.h>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"

Text ProgramFolder() {
    // The path may be longer than MAX_PATH; the buffer grows until the whole path fits.
    Text path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return Text();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return Text();
        path.resize(path.size() * 2);
    }
    // Stepping over double-byte characters: their second byte can be the separator's byte.
    const int lastSep = FindTextBackward(path, kPathSep);
    return lastSep < 1 ? Text() : LeftText(path, lastSep - 1);
}
