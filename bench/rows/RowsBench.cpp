// Rows per second of ImportRows (pattern engine, 17 group reads a row) on record texts of 100,
// 1,000 and 5,000 rows, and the cost of one row at each size against the smallest, which shows
// how the cost grows with the table (1.0 everywhere: in proportion to the rows).
// For comparison, the engine's pass over the text alone (Match and MatchCount) and that pass plus
// one and all 17 group reads a row (nothing else) are timed too, to show where the time goes.
// Usage: RowsBench [runs]   (default 3; the median run of each size is reported).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "automation/PatternMatcher.h"
#include "common/portable/SharedTexts.h"
#include "tooldriver/RowTable.h"
#include "toollink/portable/vocabulary/RowTableTexts.h"

namespace {

using Clock = std::chrono::steady_clock;

// `count` rows in the tool's format (as code page 936 text), with double-byte cells, flags and
// corners, between a heading and a closing line.
Text RecordText(int count) {
    Text text = "records\r\n";
    for (int i = 1; i <= count; ++i) {
        const Text n = std::to_string(i);
        text += Text(kRowLead) + n;
        for (const Text& cell : {"\xD6\xD0\xCE\xC4 " + n, Text("kind"), "item-" + n, Text("label"), Text("state")})
            text += kRowCellSep + cell;
        for (int f = 0; f < 10; ++f)
            text += kRowCellSep + Text(f % 2 ? kTrueText2 : "no");
        text += Text(kRowCellSep) + kCornerOpen + n + kCoordSep + "20" + kCornerSep + n + "0" + kCoordSep + "40" +
                kCornerClose + kLineSep;
    }
    return text + "end\r\n";
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Seconds of the engine's pass alone (groupsPerRow 0) or with that many group reads a row.
double EngineSeconds(const Text& source, int groupsPerRow) {
    const auto start = Clock::now();
    PatternMatcher matcher;
    matcher.Match(kRowQuery, source);
    const int32_t count = matcher.MatchCount();
    for (int32_t i = 1; i <= count; ++i) {
        for (int32_t g = 1; g <= groupsPerRow; ++g)
            matcher.GroupText(i, g);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    double smallestPerRow = 0;
    for (int count : {100, 1000, 5000}) {
        const Text source = RecordText(count);
        std::vector<double> seconds;
        for (int run = 0; run < runs; ++run) {
            RowArray rows;
            const auto start = Clock::now();
            const int32_t got = ImportRows(source, rows);
            seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            if (got != count || rows.back().x2 != count * 10) {
                std::printf("rows %d: imported %d, wrong\n", count, got);
                return 1;
            }
        }
        const double median = Median(seconds);
        const double perRow = median / count;
        if (smallestPerRow == 0)
            smallestPerRow = perRow;
        std::printf("rows %5d: %8.3f s, %8.0f rows/s, %7.1f us a row, cost a row x%.2f of 100 rows\n", count, median,
                    count / median, perRow * 1e6, perRow / smallestPerRow);
        std::vector<double> passOnly, oneGroup, allGroups;
        for (int run = 0; run < runs; ++run) {
            passOnly.push_back(EngineSeconds(source, 0));
            oneGroup.push_back(EngineSeconds(source, 1));
            allGroups.push_back(EngineSeconds(source, 17));
        }
        std::printf("            engine pass alone %.3f s; with 1 group read a row %.3f s; with 17 %.3f s\n",
                    Median(passOnly), Median(oneGroup), Median(allGroups));
    }
    return 0;
}
