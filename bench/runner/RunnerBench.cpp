// Median wall time of RunConsoleCommand on a trivial command against a plain blocking capture of
// the same command line (same launch prefix; CreateProcess, then ReadFile until the pipe ends).
// The two are run alternately so that a change of machine load hits both alike.
// Usage: RunnerBench [runs]   (default 50). Prints one line per command and the ratio.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "common/WinHandles.h"
#include "tooldriver/CommandRunner.h"

namespace {

using Clock = std::chrono::steady_clock;

Text BlockingCapture(const Text& command) {
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0))
        return Text();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    Text line = LaunchPrefixNt() + command;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return Text();
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    writeEnd.reset();
    Text output;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0)
        output.append(chunk, read);
    WaitForSingleObject(process.get(), INFINITE);
    return output;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double TimeMs(const std::function<Text()>& run, const Text& expected, bool* ok) {
    auto start = Clock::now();
    Text output = run();
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (output != expected)
        *ok = false;
    return ms;
}

Text SiblingPath(const char* name) {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    Text self(path, n);
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    struct Command {
        const char* name;
        Text line;
        Text expected;
    };
    const Command commands[] = {
        {"interpreter echo", "echo ready", "ready\r\n"},
        {"small program", "\"" + SiblingPath("ekchild.exe") + "\" out:ready", "ready"},
    };
    bool allOk = true;
    for (const Command& c : commands) {
        for (int i = 0; i < 3; ++i) {  // warm-up: first starts load libraries
            RunConsoleCommand(c.line);
            BlockingCapture(c.line);
        }
        std::vector<double> runner;
        std::vector<double> blocking;
        bool ok = true;
        for (int i = 0; i < runs; ++i) {
            runner.push_back(TimeMs([&] { return RunConsoleCommand(c.line); }, c.expected, &ok));
            blocking.push_back(TimeMs([&] { return BlockingCapture(c.line); }, c.expected, &ok));
        }
        double r = Median(runner);
        double b = Median(blocking);
        std::printf("%-17s runs %d  runner median %.2f ms  blocking median %.2f ms  ratio %.3f%s\n", c.name, runs, r, b,
                    r / b, ok ? "" : "  (OUTPUT MISMATCH)");
        allOk = allOk && ok;
    }
    return allOk ? 0 : 1;
}
