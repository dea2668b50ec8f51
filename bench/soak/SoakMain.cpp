// The crash-consistency soak: drives the built program and the stand-in tool through backups and
// restores and ends one process at a random moment of each round - the program, the tool, or a
// command-line run with all it started - then checks that no good backup was lost and nothing
// misleads the user (SoakRound.h). Run on demand through bench/soak/run (README.md there).
//
// Exit code: 0 when every state was sound, 1 when a broken state was found, 2 when the soak could
// not run.

#include <windows.h>

#include <cstdio>

#include "bench/soak/SoakOptions.h"
#include "bench/soak/SoakPlace.h"
#include "bench/soak/SoakReport.h"
#include "bench/soak/SoakRound.h"
#include "tests/support/TestPaths.h"

namespace {

void Print(const Text& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

uint64_t SeedFromClock() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (static_cast<uint64_t>(counter.QuadPart) ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 40)) %
           1000000007u;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<SoakOptions> options = ReadSoakOptions(argc - 1, argv + 1);
    if (!options) {
        Print(Text(kSoakUsage) + "\n");
        return 2;
    }
    const uint64_t seed = options->seed.value_or(SeedFromClock());
    SoakPlace place(options->folder);
    if (!place.Ready()) {
        Print("soak: could not set up " + options->folder + " (is the program built beside the soak?)\n");
        return 2;
    }
    Print("soak: seed " + std::to_string(seed) + ", working in " + options->folder + "\n");

    SoakReport report(seed);
    SoakState state;
    const DWORD start = GetTickCount();
    // Rounds whose process had ended before its moment make no kill; a soak that stops making
    // kills altogether stops here rather than run on.
    const int lastRound = options->onlyRound ? options->onlyRound : options->kills * 3 + 10;
    for (int round = options->onlyRound ? options->onlyRound : 1; round <= lastRound; ++round) {
        if (!options->onlyRound && report.Kills() >= options->kills)
            break;
        const RoundOutcome outcome = RunRound(place, seed, round, state);
        report.Add(round, outcome);
        Print(report.RoundLine(round, outcome) + "\n");
    }
    const Text summary = report.Summary(GetTickCount() - start);
    Print("\n" + summary);
    WriteWholeFile(options->folder + "\\report.txt", summary);
    return report.BrokenStates() == 0 ? 0 : 1;
}
