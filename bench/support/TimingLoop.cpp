#include "bench/support/TimingLoop.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <thread>

#include "common/PumpingWait.h"

double SecondsNow() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<double> TimeEachOnThisThread(int count, const std::function<void()>& op) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const double start = SecondsNow();
        op();
        times.push_back(SecondsNow() - start);
        ProcessPendingMessages();
    }
    return times;
}

std::vector<double> TimeEachOnWorker(int count, const std::function<void()>& op) {
    std::vector<double> times;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < count; ++i) {
            const double start = SecondsNow();
            op();
            times.push_back(SecondsNow() - start);
        }
        done = true;
    });
    while (!done)
        PumpingWait(1);
    worker.join();
    return times;
}

TimingSummary Summarize(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    const double total = std::accumulate(seconds.begin(), seconds.end(), 0.0);
    return {seconds[seconds.size() / 2] * 1000.0, seconds.front() * 1000.0,
            total * 1000.0 / static_cast<double>(seconds.size())};
}
