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

        // The tool's listings first, each `runs` times; then parsing alone, on the captured bytes, with
        // every size measured in each run, so that a change of load on a shared machine falls on all
        // sizes alike instead of on whichever size happened to be measured then.
        const std::vector<int> sizes = {10, 1000, 10000, 100000};
        std::vector<Text> outputs;
        std::vector<double> listMedians;
        for (int entries : sizes) {
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
            listMedians.push_back(Summarize(listSeconds).medianMs);
            outputs.push_back(run(kListCommand, nullptr, false));
        }

        // Parsing is repeated so that short listings still measure. Beside it, the same loop making a
        // plain copy of the bytes: what memory of the listing's size costs here without any parsing.
        std::vector<EntryList> lists(sizes.size());
        std::vector<std::vector<double>> parseSeconds(sizes.size()), copySeconds(sizes.size());
        size_t copied = 0;
        for (int r = 0; r < runs; ++r) {
            for (size_t s = 0; s < sizes.size(); ++s) {
                const int repeat = std::max(1, 200000 / sizes[s]);
                double start = SecondsNow();
                for (int k = 0; k < repeat; ++k)
                    ParseEntryListing(outputs[s], lists[s]);
                parseSeconds[s].push_back((SecondsNow() - start) / repeat);
                start = SecondsNow();
                for (int k = 0; k < repeat; ++k) {
                    const Text copy = outputs[s];
                    copied += copy.size();
                }
                copySeconds[s].push_back((SecondsNow() - start) / repeat);
            }
        }

        std::printf("%9s %10s %12s %10s %12s %11s %11s\n", "entries", "list ms", "list us/ent", "parse ms",
                    "parse us/ent", "copy us/ent", "bytes");
        std::vector<double> parsePerEntry;
        for (size_t s = 0; s < sizes.size(); ++s) {
            const int entries = sizes[s];
            const double parseMedian = Summarize(parseSeconds[s]).medianMs;
            parsePerEntry.push_back(1000.0 * parseMedian / entries);
            std::printf("%9d %10.2f %12.3f %10.3f %12.4f %11.4f %11zu\n", entries, listMedians[s],
                        1000.0 * listMedians[s] / entries, parseMedian, parsePerEntry.back(),
                        1000.0 * Summarize(copySeconds[s]).medianMs / entries, outputs[s].size());
        }
        // Entries of the long listing are longer (numbers and names of five and six digits), so the
        // same ratio per byte of output is shown too.
        const double bytesPerEntry1000 = static_cast<double>(outputs[1].size()) / sizes[1];
        const double bytesPerEntry100000 = static_cast<double>(outputs[3].size()) / sizes[3];
        std::printf("parse per entry, 100,000 against 1,000 entries: %.2f (goal at most 1.3); per byte: %.2f\n",
                    parsePerEntry[3] / parsePerEntry[1],
                    (parsePerEntry[3] / bytesPerEntry100000) / (parsePerEntry[1] / bytesPerEntry1000));
        if (copied == 0)
            status = 1;  // keeps the copies from being left out
        ::SetCurrentDirectoryA(BuiltProgramFolder().c_str());
        ClearToolLocation();
    }
    return status;
}
