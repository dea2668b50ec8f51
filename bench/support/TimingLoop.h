#pragma once
// The benchmarks' timing: a high-resolution clock, an operation run and timed a number of times on
// this thread or on a worker, and the summary the benchmarks print. On a busy machine the fastest
// run is the steadier measure of the work itself; the median shows what a user sees.

#include <functional>
#include <vector>

// Seconds on the system's high-resolution counter; only differences mean anything. Any thread.
double SecondsNow();

// Runs `op` `count` times on this thread, handling the messages that came meanwhile after each run
// (this thread may own a window); the time of each run in seconds.
std::vector<double> TimeEachOnThisThread(int count, const std::function<void()>& op);

// Runs `op` `count` times on a worker thread while this thread serves its windows (a pumping wait),
// so an operation that needs this thread's window can finish; the time of each run in seconds.
std::vector<double> TimeEachOnWorker(int count, const std::function<void()>& op);

// Median, fastest and mean of a series of times, in milliseconds. The series must not be empty.
struct TimingSummary {
    double medianMs;
    double fastestMs;
    double meanMs;
};
TimingSummary Summarize(std::vector<double> seconds);
