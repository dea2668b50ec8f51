#include "tooldriver/CommandRunner.h"

#include <windows.h>

#include <atomic>
#include <vector>

#include "common/PumpingWait.h"
#include "common/WinHandles.h"
#include "common/portable/StopSignal.h"
#include "tooldriver/PercentSafeEnvironment.h"
#include "tooldriver/ProcessTree.h"

// How a command line reaches the command interpreter.
//
// Outside double quotes the interpreter treats & | < > ^ ( ) @ as operators (^ escapes the next
// character), and it expands %NAME% of a defined variable everywhere, inside quotes too; with
// delayed expansion on, !NAME! is expanded as well. Inside double quotes & | < > ^ ( ) are plain
// characters. Callers therefore put every argument inside quotes, refuse arguments that hold a
// double quote, a line break or a NUL byte, and place a percent sign where no variable's name can
// follow it (toollink/portable/CommandLineQuoting.h, PercentSafeEnvironment.h).
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

std::atomic<bool> jobAssignmentRefused{false};

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

// The capture loop's view of the pipe's read end and the child process (neither owned).
class PipeAndChild : public CaptureSource {
public:
    PipeAndChild(HANDLE readEnd, HANDLE process, const Text& watchedFile)
        : readEnd_(readEnd), process_(process), watchedFile_(watchedFile) {}

    size_t Available() override {
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd_, nullptr, 0, nullptr, &available, nullptr))
            return 0;
        return available;
    }

    // Never blocks: it asks for no more than a look reported.
    Text Read(size_t count) override {
        std::vector<char> buffer(count, '\0');
        DWORD read = 0;
        if (!ReadFile(readEnd_, buffer.data(), static_cast<DWORD>(count), &read, nullptr))
            read = 0;
        return Text(buffer.data(), read);
    }

    bool ChildEnded() override {
        // A child may itself end with the still-active value; its signalled handle says it ended.
        DWORD exitCode = 0;
        return !GetExitCodeProcess(process_, &exitCode) || exitCode != kStillActive ||
               WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    }

    bool StopRequested() override { return CurrentThreadShouldStop(); }

    void Pause(int milliseconds) override {
        if (MessagesWaiting())
            ProcessPendingMessages();
        // The child's end cuts the pause short, so the last bytes and the end are seen at once.
        PumpingWaitFor(process_, milliseconds);
    }

    int64_t NowMs() override { return static_cast<int64_t>(GetTickCount64()); }

    int64_t WatchedFileSize() override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (watchedFile_.empty() || !GetFileAttributesExA(watchedFile_.c_str(), GetFileExInfoStandard, &data))
            return -1;
        return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }

private:
    HANDLE readEnd_;
    HANDLE process_;
    Text watchedFile_;
};

// A hung child left running, for whoever must wait for its end.
class LeftRunningChild : public RunningProcess {
public:
    explicit LeftRunningChild(UniqueHandle process) : process_(std::move(process)) {}
    bool WaitForEnd(int milliseconds) const override {
        return WaitForSingleObject(process_.get(), milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds)) !=
               WAIT_TIMEOUT;
    }
    HANDLE Process() const { return process_.get(); }

private:
    UniqueHandle process_;
};

bool ProgramRunsInAJob() {
    BOOL inJob = FALSE;
    return IsProcessInJob(GetCurrentProcess(), nullptr, &inJob) && inJob;
}

}  // namespace

void RefuseJobAssignmentForTests(bool refuse) {
    jobAssignmentRefused.store(refuse);
}

bool KeepOpenUntilEnded(const RunningProcess& child, void* handle) {
    const auto* left = dynamic_cast<const LeftRunningChild*>(&child);
    if (!left || !handle)
        return false;
    // The copy belongs to the child's handle table; the system closes it when the child ends.
    HANDLE copy = nullptr;
    return DuplicateHandle(GetCurrentProcess(), handle, left->Process(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS) != 0;
}

Text LaunchPrefixNt() {
    return SystemInterpreter() + kInterpreterSwitches;
}

Text LaunchPrefixOther() {
    return "command.com /c ";
}

Capture CaptureConsoleCommand(const Text& command, const ChunkObserver* observer, bool notifyChunks,
                              const CommandWatch& watch) {
    if (!MakePercentSafeEnvironment())
        return Capture();
    // Only the write end goes to the child. Were the read end inherited too, the command
    // interpreter and the tool would each hold a reader, so after a stop (when this process no
    // longer reads) a child with more to write would block in its write for ever instead of
    // failing and ending.
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), nullptr, 0) ||
        !SetHandleInformation(writeEnd.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT))
        return Capture();

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

    using Keeping = CommandWatch::Keeping;
    UniqueHandle job;
    DWORD flags = CREATE_NO_WINDOW;
    if (watch.keeping == Keeping::OwnJob) {
        job.reset(CreateJobObjectA(nullptr, nullptr));
        // Suspended until it is in its job, so nothing it starts can escape the job.
        flags |= CREATE_SUSPENDED;
    }
    const bool breakAway = watch.keeping == Keeping::OutsideJobs && ProgramRunsInAJob();
    PROCESS_INFORMATION processInfo = {};
    BOOL started = CreateProcessA(nullptr, lineBuffer.data(), nullptr, nullptr, TRUE,
                                  flags | (breakAway ? CREATE_BREAKAWAY_FROM_JOB : 0), nullptr, nullptr, &startup,
                                  &processInfo);
    // A job that does not allow breaking away refuses the start: the command then runs in it.
    const bool breakawayRefused = !started && breakAway && GetLastError() == ERROR_ACCESS_DENIED;
    if (breakawayRefused) {
        started = CreateProcessA(nullptr, lineBuffer.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup,
                                 &processInfo);
    }
    UniqueHandle process(processInfo.hProcess);
    UniqueHandle thread(processInfo.hThread);
    // Our copy of the write end must go at once: only the child's copies may keep the pipe open.
    writeEnd.reset();
    if (!started) {
        Capture notStarted;
        notStarted.breakawayRefused = breakawayRefused;
        return notStarted;
    }
    bool inOwnJob = false;
    if (watch.keeping == Keeping::OwnJob) {
        inOwnJob = job && !jobAssignmentRefused.load() && AssignProcessToJobObject(job.get(), process.get());
        ResumeThread(thread.get());
    }

    PipeAndChild source(readEnd.get(), process.get(), watch.growingFile);
    const int64_t hangMs = watch.keeping == Keeping::Plain ? 0 : static_cast<int64_t>(watch.hangSeconds) * 1000;
    Capture capture = RunCaptureLoop(source, observer, notifyChunks, hangMs);
    capture.breakawayRefused = breakawayRefused;
    if (capture.end == CaptureEnd::ChildEnded) {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.get(), &exitCode);
        capture.exitCode = exitCode;
    } else if (capture.end == CaptureEnd::Hung) {
        if (watch.keeping == Keeping::OutsideJobs)
            capture.leftRunning = std::make_shared<LeftRunningChild>(std::move(process));
        else
            capture.processesEnded =
                inOwnJob ? EndJobProcesses(job.get()) : EndProcessTree(process.get(), processInfo.dwProcessId);
    }
    return capture;
}

Text RunConsoleCommand(const Text& command, const ChunkObserver* observer, bool notifyChunks) {
    return CaptureConsoleCommand(command, observer, notifyChunks).output;
}
