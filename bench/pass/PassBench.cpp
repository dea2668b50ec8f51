// One backup pass of many entries against the stand-in tool, measured against a plain loop that
// runs the same tool commands directly through the command runner. The pass's own pauses are
// timed through its host and taken off, so the ratio shows what the pass adds around the tool.
#include <windows.h>
#define PSAPI_VERSION 2
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "common/PumpingWait.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tests/support/ToolForPasses.h"
#include "tooldriver/CommandRunner.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"
#include "workers/BackupWorker.h"
#include "workers/portable/PassTexts.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The window's part, reduced to what costs time: real pauses, timed.
class TimingHost : public PassHost {
public:
    TimingHost(Text programFolder, Text folder) : programFolder_(std::move(programFolder)), folder_(std::move(folder)) {}
    Text FolderField() override { return folder_; }
    void AppendLog(const Text& message) override { ++lines_; }
    void SetButtonEnabled(PassButton, bool) override {}
    void Pause(int milliseconds) override {
        Clock::time_point start = Clock::now();
        PumpingWait(milliseconds);
        pausedSeconds_ += SecondsSince(start);
        ++pauses_;
    }
    Text ProgramFolder() override { return programFolder_; }
    StopSignalPtr PassStopSignal() override { return stop_; }

    double pausedSeconds_ = 0;
    int pauses_ = 0;
    int lines_ = 0;

private:
    Text programFolder_;
    Text folder_;
    StopSignalPtr stop_ = std::make_shared<StopSignal>();
};

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    ToolForPasses tool;
    std::vector<std::pair<Text, Text>> entries;
    for (int k = 1; k <= count; ++k)
        entries.push_back({"Entry " + IntToText(k), "content of entry " + IntToText(k)});
    if (!tool.Seed(entries)) {
        std::printf("could not seed the stand-in tool in %s\n", tool.Folder().c_str());
        return 1;
    }
    ScratchFolder program;
    ScratchFolder passFolder;
    ScratchFolder loopFolder;

    // The same commands, run plainly: one listing, then one backup line per entry. Timed once
    // before and once after the pass, so warming up favours neither side.
    auto plainLoop = [&] {
        Clock::time_point start = Clock::now();
        SetCurrentDirectoryA(tool.Folder().c_str());
        RunConsoleCommand(kListCommand);
        for (const auto& entry : entries) {
            const Text file = loopFolder.Path() + kPathSep + entry.first + kBackupFileExt;
            RunConsoleCommand(kBackupEntryLeadName + entry.first + kBackupEntryTextName + file + kPathMark);
        }
        return SecondsSince(start);
    };
    const double loopBefore = plainLoop();

    // The pass, on its own thread as in the program.
    auto host = std::make_shared<TimingHost>(program.Path(), passFolder.Path());
    Clock::time_point passStart = Clock::now();
    std::thread pass(BackupWorker, tool.Commands(), host);
    pass.join();
    const double passSeconds = SecondsSince(passStart);
    const double passWork = passSeconds - host->pausedSeconds_;

    const double loopSeconds = (loopBefore + plainLoop()) / 2;

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);

    std::printf("entries:                    %d (%d log lines, %d pauses)\n", count, host->lines_, host->pauses_);
    std::printf("backup pass, wall time:     %.3f s\n", passSeconds);
    std::printf("  of which in pauses:       %.3f s\n", host->pausedSeconds_);
    std::printf("  without pauses:           %.3f s\n", passWork);
    std::printf("plain loop of the commands: %.3f s (mean of one run before and one after)\n", loopSeconds);
    std::printf("ratio (goal <= 1.2):        %.3f\n", loopSeconds > 0 ? passWork / loopSeconds : 0.0);
    std::printf("peak working set:           %.1f MiB\n", memory.PeakWorkingSetSize / 1048576.0);
    std::printf("peak pagefile usage:        %.1f MiB\n", memory.PeakPagefileUsage / 1048576.0);
    return 0;
}
