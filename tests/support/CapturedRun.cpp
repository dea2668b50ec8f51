#include "tests/support/CapturedRun.h"

#include "common/WinHandles.h"

CapturedRunResult RunCaptured(const Text& commandLine, DWORD timeoutMs) {
    CapturedRunResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0))
        return result;
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION info = {};
    Text line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info)) {
        return result;
    }
    result.started = true;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    // Our copy of the write end must go, or the pipe never reports its end.
    writeEnd.reset();

    DWORD start = GetTickCount();
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr))
            break;  // the child has ended and everything has been read
        if (available > 0) {
            DWORD got = 0;
            if (!ReadFile(readEnd.get(), buffer, sizeof(buffer), &got, nullptr) || got == 0)
                break;
            result.output.append(buffer, got);
            continue;
        }
        if (GetTickCount() - start >= timeoutMs) {
            result.timedOut = true;
            TerminateProcess(process.get(), 1);
            break;
        }
        WaitForSingleObject(process.get(), 5);
    }
    WaitForSingleObject(process.get(), 5000);
    GetExitCodeProcess(process.get(), &result.exitCode);
    return result;
}
