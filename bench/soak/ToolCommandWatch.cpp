#include "bench/soak/ToolCommandWatch.h"

#include "bench/soak/ProcessKill.h"
#include "common/portable/TextOps.h"
#include "tests/support/ProcessList.h"
#include "tests/support/TestPaths.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"

namespace {

constexpr DWORD kPollMs = 5;

// The command a journal line names: the word after the tool's program name.
Text CommandOf(const Text& line) {
    const int at = FindText(line, kToolExeName, true);
    if (at < 0)
        return Text();
    size_t start = at - 1 + Text(kToolExeName).size();
    while (start < line.size() && (line[start] == '"' || line[start] == ' '))
        ++start;
    const size_t end = line.find(' ', start);
    return line.substr(start, end == Text::npos ? Text::npos : end - start);
}

ULONGLONG CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

std::vector<Text> ToolCommandWatch::LinesOf(const Text& verb) const {
    std::vector<Text> lines;
    for (const Text& line : SplitText(ReadWholeFile(journal_), "\r\n")) {
        if (CommandOf(line) == verb)
            lines.push_back(line);
    }
    return lines;
}

int ToolCommandWatch::Count(const Text& verb) const {
    return static_cast<int>(LinesOf(verb).size());
}

UniqueHandle ToolCommandWatch::NewestRun() const {
    UniqueHandle newest;
    ULONGLONG newestTime = 0;
    for (DWORD id : ProcessesRunning(toolExe_)) {
        UniqueHandle run = OpenToKill(id);
        const ULONGLONG created = run ? CreationTime(run.get()) : 0;
        if (run && (!newest || created >= newestTime)) {
            newestTime = created;
            newest = std::move(run);
        }
    }
    return newest;
}

UniqueHandle ToolCommandWatch::WaitForRun(const Text& verb,
                                          int n,
                                          const std::function<bool()>& keepWaiting,
                                          DWORD timeoutMs,
                                          Text* line) const {
    const DWORD start = GetTickCount();
    while (keepWaiting() && GetTickCount() - start < timeoutMs) {
        const std::vector<Text> lines = LinesOf(verb);
        if (static_cast<int>(lines.size()) >= n) {
            *line = lines[n - 1];
            // Its run is past the journal already; a later command's run would have added a line.
            return static_cast<int>(lines.size()) == n ? NewestRun() : UniqueHandle();
        }
        Sleep(kPollMs);
    }
    return UniqueHandle();
}
