// Cost of one log append when the log is short against when it is long. Medians over a number of
// appends; the program's window thread has COM initialised, as the program's start-up leaves it.

#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "app/log/Log.h"
#include "app/log/SystemDateText.h"
#include "app/window/ControlAccess.h"
#include "app/window/MainWindow.h"
#include "bench/support/TimingLoop.h"
#include "common/ComOwners.h"

namespace {

constexpr int kShortLog = 100;
constexpr int kLongLog = 5000;

// A log of `lines` lines like the passes write.
Text LogOf(int lines) {
    Text log;
    for (int i = 0; i < lines; ++i)
        log += "10:15:" + std::to_string(10 + i % 50) + " - Backing up entry " + std::to_string(i + 1) +
               "/5000: \"Entry name " + std::to_string(i) + "\"\r\n";
    return log;
}

// Median and fastest of `count` runs of `op` on this (the window) thread, and on a worker while this
// thread serves the window.
TimingSummary TimeOnWindowThread(int count, const std::function<void()>& op) {
    return Summarize(TimeEachOnThisThread(count, op));
}

TimingSummary TimeOnWorker(int count, const std::function<void()>& op) {
    return Summarize(TimeEachOnWorker(count, op));
}

struct Row {
    const char* name;
    std::function<TimingSummary(int)> measure;  // times of one operation
};

}  // namespace

int main(int argc, char** argv) {
    const int appends = argc > 1 ? std::max(3, std::atoi(argv[1])) : 40;
    // "bare": the window thread without COM, so no apartment keeps the script engine loaded.
    const bool bare = argc > 2 && std::string(argv[2]) == "bare";
    std::optional<ScopedComInit> com;
    if (!bare)
        com.emplace();
    MainWindow window;
    if (!window.Create(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE)) {
        std::fprintf(stderr, "LogBench: the window could not be created\n");
        return 1;
    }
    HWND hwnd = window.Handle();
    const Text shortLog = LogOf(kShortLog);
    const Text longLog = LogOf(kLongLog);

    const Row rows[] = {
        {"AppendLog, window thread",
         [&](int n) { return TimeOnWindowThread(n, [&] { AppendLog(hwnd, "Backing up entry 17/5000"); }); }},
        {"AppendLog, worker thread",
         [&](int n) { return TimeOnWorker(n, [&] { AppendLog(hwnd, "Backing up entry 17/5000"); }); }},
        {"date text alone, worker thread",
         [&](int n) { return TimeOnWorker(n, [&] { EpochMillisToDateText("1700000000000"); }); }},
        {"append, date text from the clock",
         [&](int n) {
             SetScriptClassForTesting("EntryKeeper.NoSuchScriptEngine");
             TimingSummary ms = TimeOnWindowThread(n, [&] { AppendLog(hwnd, "Backing up entry 17/5000"); });
             SetScriptClassForTesting(nullptr);
             return ms;
         }},
        {"whole-text rewrite, for comparison",
         [&](int n) {
             return TimeOnWindowThread(n, [&] {
                 WriteControlText(hwnd, kLogBoxId, ReadControlText(hwnd, kLogBoxId) + "10:15:00 - Backing up\r\n");
                 WriteControlInt(hwnd, kLogBoxId, kPropSelectionStart, -1);
             });
         }},
    };

    // Warm up: the first script object of the process loads the engine.
    if (!bare)
        AppendLog(hwnd, "warm-up");

    std::printf("%-36s %21s %21s %13s\n", "ms per operation", "100 lines", "5000 lines", "ratio");
    std::printf("%-36s %10s %10s %10s %10s %6s %6s\n", "", "median", "fastest", "median", "fastest", "median",
                "fastest");
    for (const Row& row : rows) {
        WriteControlText(hwnd, kLogBoxId, shortLog);
        TimingSummary shortLogTime = row.measure(appends);
        WriteControlText(hwnd, kLogBoxId, longLog);
        TimingSummary longLogTime = row.measure(appends);
        std::printf("%-36s %10.3f %10.3f %10.3f %10.3f %6.2f %6.2f\n", row.name, shortLogTime.medianMs,
                    shortLogTime.fastestMs, longLogTime.medianMs, longLogTime.fastestMs,
                    longLogTime.medianMs / shortLogTime.medianMs, longLogTime.fastestMs / shortLogTime.fastestMs);
    }
    return 0;
}
