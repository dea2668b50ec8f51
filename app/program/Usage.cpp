#include "app/program/Usage.h"

#include <windows.h>

#include "app/log/Log.h"
#include "app/log/LogFile.h"
#include "common/WinHandles.h"
#include "common/portable/TextOps.h"

namespace {

bool WriteAllTo(HANDLE handle, const Text& text) {
    DWORD written = 0;
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN &&
           WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// The usage of a run that nobody may be watching: to the standard output it inherited (a
// redirection, a pipe), else to the console it was started from, and to its /log file. A message
// box there would wait unseen for ever.
void WriteUsage(const CommandLineRequest& request, const Text& text) {
    if (!WriteAllTo(GetStdHandle(STD_OUTPUT_HANDLE), text + "\r\n") && AttachConsole(ATTACH_PARENT_PROCESS)) {
        UniqueFileHandle console(CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
        // The prompt came back when the program started: the usage begins on a line of its own.
        WriteAllTo(console.get(), "\r\n" + text + "\r\n");
        FreeConsole();
    }
    if (request.logFile.empty())
        return;
    LogFile log(request.logFile);
    for (const Text& line : SplitText(text, "\r\n")) {
        if (!line.empty())
            log.Append(MakeLogLine(line).fileLine);
    }
}

}  // namespace

int ShowUsage(const CommandLineRequest& request) {
    const Text text = request.problem.empty() ? Text(kUsageText) : request.problem + "\r\n\r\n" + kUsageText;
    if (request.passSwitchGiven) {
        WriteUsage(request, text);
        return kExitNotDone;
    }
    MessageBoxA(nullptr, text.c_str(), kUsageTitle,
                MB_OK | MB_SETFOREGROUND | (request.problem.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
    return kExitNotDone;
}
