// Rows per second of the row import's use of the pattern matcher: one Match over a source of
// `rows` rows of 17 cells, then every one of the 17 groups of every row. Reports the median and
// the fastest of `runs` runs (default 5), and checks every cell so a broken run cannot look fast.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "automation/PatternMatcher.h"

namespace {

constexpr int kGroups = 17;

double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

Text Cell(int row, int group) {
    // Every third cell holds double-byte text, as real listings do.
    return group % 3 == 0 ? "\xD6\xD0\xCE\xC4" + std::to_string(row) : std::to_string(row) + "." + std::to_string(group);
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    Text pattern;
    for (int g = 1; g <= kGroups; ++g)
        pattern += g == 1 ? "([^\\t\\r\\n]*)" : "\\t([^\\t\\r\\n]*)";
    Text source;
    for (int r = 1; r <= rows; ++r) {
        for (int g = 1; g <= kGroups; ++g)
            source += (g > 1 ? "\t" : "") + Cell(r, g);
        source += "\r\n";
    }

    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        const double start = Now();
        PatternMatcher matcher;
        if (!matcher.Match(pattern, source) || matcher.MatchCount() != rows) {
            std::fprintf(stderr, "PatternBench: the pattern did not find %d rows\n", rows);
            return 1;
        }
        const int count = matcher.MatchCount();
        for (int r = 1; r <= count; ++r) {
            for (int g = 1; g <= kGroups; ++g) {
                if (matcher.GroupText(r, g) != Cell(r, g)) {
                    std::fprintf(stderr, "PatternBench: wrong cell %d/%d\n", r, g);
                    return 1;
                }
            }
        }
        seconds.push_back(Now() - start);
    }
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[seconds.size() / 2];
    std::printf("PatternBench: %d rows x %d groups, %d runs\n", rows, kGroups, runs);
    std::printf("  median %.1f ms per run, %.0f rows/s (fastest %.0f rows/s)\n", median * 1000, rows / median,
                rows / seconds.front());
    return 0;
}
