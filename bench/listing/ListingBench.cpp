// ListEntries over listings of growing size: whole-call time (tool run included) and parse time
// alone, each per entry. See README.md in this folder for how to run it.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/support/TimingLoop.h"
#include "tests/support/TestPaths.h"
#include "tooldriver/CommandRunner.h"
#include "tooldriver/ToolCommands.h"
#include "tooldriver/ToolCommandsRunner.h"
#include "tooldriver/portable/EntryListing.h"
#include "toollink/portable/ToolLocation.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    int status = 0;
    {
        ScratchFolder folder;
        const Text source = BuiltProgramPath("entryctl.exe");
        if (!CopyFileA(source.c_str(), folder.File("entryctl.exe").c_str(), FALSE)) {
            std::printf("cannot copy %s\n", source.c_str());
            return 1;
        }
        ClearToolLocation();
        SetToolDir(folder.Path());
        const CommandRunnerFn run = RunningInToolDir(RunConsoleCommand);
        ToolCommands commands;

        std::printf("%9s %10s %12s %10s %12s %11s\n", "entries", "list ms", "list us/ent", "parse ms",
                    "parse us/ent", "bytes");
        for (int entries : {10, 1000, 10000, 100000}) {
            run("entryctl.exe admin clear", nullptr, false);
            run("entryctl.exe admin fault \"big-listing " + std::to_string(entries) + "\"", nullptr, false);

            EntryList list;
            std::vector<double> listSeconds;
            for (int r = 0; r < runs; ++r) {
                const double start = SecondsNow();
                const int32_t count = commands.ListEntries(list);
                listSeconds.push_back(SecondsNow() - start);
                if (count != entries) {
                    std::printf("listing of %d gave %d records\n", entries, count);
                    status = 1;
                }
            }

            // Parsing alone, on the same bytes, repeated so that short listings still measure.
            const Text output = run(kListCommand, nullptr, false);
            const int repeat = std::max(1, 200000 / entries);
            std::vector<double> parseSeconds;
            for (int r = 0; r < runs; ++r) {
                const double start = SecondsNow();
                for (int k = 0; k < repeat; ++k)
                    ParseEntryListing(output, list);
                parseSeconds.push_back((SecondsNow() - start) / repeat);
            }

            const double listMedian = Summarize(listSeconds).medianMs;
            const double parseMedian = Summarize(parseSeconds).medianMs;
            std::printf("%9d %10.2f %12.3f %10.3f %12.4f %11zu\n", entries, listMedian, 1000.0 * listMedian / entries,
                        parseMedian, 1000.0 * parseMedian / entries, output.size());
        }
        ::SetCurrentDirectoryA(BuiltProgramFolder().c_str());
        ClearToolLocation();
    }
    return status;
}
