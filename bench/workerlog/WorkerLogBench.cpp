// How long the window thread is busy for each log line a pass writes from its worker thread.
// The main window's procedure is wrapped so that every call the window thread carries out for a
// worker (kMsgRunOnWindowThread) is timed there, from its start to its end: that is the time the
// window cannot answer the user. A worker thread logs through the pass's host, as a pass does.
//
// Rows: the program's host (WindowPassHost); for comparison a worker whose whole log call, time
// stamp included, is carried out on the window thread; and the time stamp alone made there.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/log/Log.h"
#include "app/passes/WindowPassHost.h"
#include "app/window/ControlAccess.h"
#include "app/window/MainWindow.h"
#include "app/window/PrivateMessages.h"
#include "app/window/WindowThreadCall.h"
#include "bench/support/TimingLoop.h"
#include "common/ComOwners.h"

namespace {

constexpr char kMessage[] = "Entry name 17: backing up 17/5000";

// Window-thread times of the calls carried out for workers, in seconds. Window thread only.
std::vector<double> g_windowThreadTimes;

LRESULT CALLBACK TimingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message != kMsgRunOnWindowThread)
        return DefSubclassProc(window, message, wParam, lParam);
    const double start = SecondsNow();
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    g_windowThreadTimes.push_back(SecondsNow() - start);
    return result;
}

struct Figures {
    double windowMedianMs;
    double windowFastestMs;
    double windowMeanMs;
    double workerMedianMs;
};

// `lines` calls of `logLine` on a worker thread while this thread serves the window.
Figures Measure(int lines, const std::function<void()>& logLine) {
    g_windowThreadTimes.clear();
    const TimingSummary worker = Summarize(TimeEachOnWorker(lines, logLine));
    const TimingSummary window = Summarize(g_windowThreadTimes);
    return {window.medianMs, window.fastestMs, window.meanMs, worker.medianMs};
}

}  // namespace

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::max(3, std::atoi(argv[1])) : 200;
    // "hidden": the window is not shown, so inserting a line costs no painting and what else the
    // window thread does per line stands out.
    const bool hidden = argc > 2 && std::string(argv[2]) == "hidden";
    // The window thread has COM, as the program's start-up leaves it.
    ScopedComInit com;
    MainWindow window;
    if (!window.Create(GetModuleHandleA(nullptr), hidden ? SW_HIDE : SW_SHOWNOACTIVATE)) {
        std::fprintf(stderr, "WorkerLogBench: the window could not be created\n");
        return 1;
    }
    HWND hwnd = window.Handle();
    SetWindowSubclass(hwnd, TimingProc, 0, 0);
    auto host = std::make_shared<WindowPassHost>(hwnd, std::make_shared<StopSignal>(), "C:\\bench");

    struct Row {
        const char* name;
        std::function<void()> logLine;
    };
    const Row rows[] = {
        {"pass host (WindowPassHost)", [&] { host->AppendLog(kMessage); }},
        {"whole log call on the window thread",
         [&] { RunOnWindowThread(hwnd, [&] { AppendLog(hwnd, kMessage); }); }},
        // What the host no longer does there: the line with its time stamp, made on the window thread.
        {"time stamp alone on the window thread",
         [&] { RunOnWindowThread(hwnd, [&] { MakeLogLine(kMessage); }); }},
    };
    // The first script object of the process loads the engine.
    AppendLog(hwnd, "warm-up");

    std::printf("%d lines from a worker, %s window; ms per line\n", lines, hidden ? "hidden" : "visible");
    std::printf("%-38s %14s %14s %14s %14s\n", "", "window median", "window fastest", "window mean",
                "worker median");
    for (const Row& row : rows) {
        // Every row starts from the same short log.
        WriteControlText(hwnd, kLogBoxId, "");
        const Figures f = Measure(lines, row.logLine);
        std::printf("%-38s %14.3f %14.3f %14.3f %14.3f\n", row.name, f.windowMedianMs, f.windowFastestMs,
                    f.windowMeanMs, f.workerMedianMs);
    }
    RemoveWindowSubclass(hwnd, TimingProc, 0);
    return 0;
}
