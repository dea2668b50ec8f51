#include "tooldriver/CommandRunner.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/PumpingWait.h"
#include "common/StopSignal.h"
#include "common/WinHandles.h"

// How a command line reaches the command interpreter.
//
// Outside double quotes the interpreter treats & | < > ^ ( ) @ as operators (^ escapes the next
// character), and it expands %NAME% of a defined variable everywhere, inside quotes too; with
// delayed expansion on, !NAME! is expanded as well. Inside double quotes & | < > ^ ( ) are plain
// characters. Callers therefore put every argument inside quotes and refuse arguments that hold a
// double quote, a percent sign, a line break or a NUL byte.
//
// After /C the interpreter looks at the first character of the rest of the line: when it is a
// double quote, and the line is anything but a single quoted program name, it removes that quote
// and the last double quote of the line (always, with /S). A command such as
//     "C:\My Tool\tool.exe" "first arg" "second arg"
// would lose its first and last quote and no longer name the program. The prefix therefore ends
// with '@' (the interpreter's "do not echo" mark, a no-op here): the rest of the line never starts
// with a double quote, /S makes the quote rule plain (nothing else is ever removed), and '@' is
// dropped before the command is run, quotes and all as written.
//   /D     skips the AutoRun commands of the registry, which could print into the captured output.
//   /V:OFF turns delayed expansion off whatever the registry says, so '!' is a plain character.
// The interpreter is named by its full path in the system folder: a bare name would be searched for
// in the current directory (the tool's folder) before the system folder.

namespace {

constexpr DWORD kStillActive = 259;

// Pause between two looks at the pipe: 1 ms after a look that found bytes, doubling while the
// pipe stays empty up to this much. The child's end always cuts a pause short.
constexpr int kLongestLookGapMs = 16;

Text SystemInterpreter() {
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "cmd.exe";
    return "\"" + Text(folder, length) + "\\cmd.exe\"";
}

bool IsNtFamily() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool MessagesWaiting() {
    return HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0;
}

}  // namespace

Text LaunchPrefixNt() {
    return SystemInterpreter() + " /d /v:off /s /c @";
}

Text LaunchPrefixOther() {
    return "command.com /c ";
}

Text RunConsoleCommand(const Text& command, const ChunkObserver* observer, bool notifyChunks) {
    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof(inheritable);
    inheritable.bInheritHandle = TRUE;
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0))
        return Text();

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();

    Text line = (IsNtFamily() ? LaunchPrefixNt() : LaunchPrefixOther()) + command;
    std::vector<char> lineBuffer(line.begin(), line.end());
    lineBuffer.push_back('\0');

    PROCESS_INFORMATION processInfo = {};
    BOOL started = CreateProcessA(nullptr, lineBuffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &processInfo);
    UniqueHandle process(processInfo.hProcess);
    UniqueHandle thread(processInfo.hThread);
    // Our copy of the write end must go at once: only the child's copies may keep the pipe open.
    writeEnd.reset();
    if (!started)
        return Text();

    Text output;
    bool ended = false;
    int gapMs = 1;
    for (;;) {
        if (CurrentThreadShouldStop())
            break;

        DWORD available = 0;
        if (!PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr))
            available = 0;

        if (available != 0) {
            std::vector<char> buffer(available, '\0');
            DWORD read = 0;
            if (!ReadFile(readEnd.get(), buffer.data(), available, &read, nullptr))
                read = 0;
            Text chunk(buffer.data(), read);
            size_t zero = chunk.find('\0');
            if (zero != Text::npos)
                chunk.resize(zero);
            if (notifyChunks && observer && *observer && (*observer)(chunk, 1, 0) != 0)
                break;
            output += chunk;
            gapMs = 1;
        } else if (ended) {
            // The child had ended before this look, and the pipe holds nothing more.
            break;
        } else {
            // A child may itself end with the still-active value; its signalled handle says it ended.
            DWORD exitCode = 0;
            if (!GetExitCodeProcess(process.get(), &exitCode) || exitCode != kStillActive ||
                WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
                // What the child wrote between the last look and its end is still in the pipe:
                // take one more look before leaving.
                ended = true;
                continue;
            }
            gapMs = std::min(gapMs * 2, kLongestLookGapMs);
        }

        if (MessagesWaiting())
            ProcessPendingMessages();
        // The child's end cuts the pause short, so the last bytes and the end are seen at once.
        PumpingWaitFor(process.get(), gapMs);
    }

    readEnd.reset();
    process.reset();
    thread.reset();
    return output;
}
