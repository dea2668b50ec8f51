#pragma once
// How long start-up waits for the tool. The command object's construction runs the tool's target
// listing once, on the thread that becomes the window thread and before the window exists; a tool
// that never answers there would keep the window from ever appearing. While a StartupToolTimeLimit lives,
// the calling thread's stop signal is one that becomes requested by itself after the limit's time,
// so the command runner gives up on the tool then. The tool runs on in its own process, holding
// nothing of this program's (the tool-directory lock is released when the runner returns, and its
// pipe has no reader left, so a write of the tool's fails and it can end).
//
// Window thread, during start-up only.

#include <atomic>
#include <chrono>
#include <memory>

#include "common/portable/CommandRunnerFn.h"
#include "common/portable/StopSignal.h"
#include "tooldriver/CommandRunner.h"

// How long start-up waits for the tool's target listing.
inline constexpr std::chrono::milliseconds kStartupToolWait{5000};

// Logged once the window exists when the tool did not answer in time at start-up.
inline constexpr char kStartupNoAnswerText[] =
    "The tool did not answer at start-up, so the window opened without waiting for it. "
    "Start and Restore will ask the tool again.";

class StartupToolTimeLimit {
public:
    // Installs the limit's signal on the calling thread, its time running from now.
    explicit StartupToolTimeLimit(std::chrono::milliseconds wait = kStartupToolWait);
    // Puts the thread's previous signal back.
    ~StartupToolTimeLimit();
    StartupToolTimeLimit(const StartupToolTimeLimit&) = delete;
    StartupToolTimeLimit& operator=(const StartupToolTimeLimit&) = delete;

    // The command runner for the command object: the hidden command runner, noting each run
    // that this limit cut short. Runs under other signals (the passes' own) are only passed
    // through, so the runner may serve the object for the rest of the program's life.
    CommandCaptureFn Runner() const;

    // True when a run of Runner() was cut short by this limit: the tool had not answered in time.
    bool ToolDidNotAnswer() const;

private:
    struct State {
        StopSignalPtr signal = std::make_shared<StopSignal>();
        std::atomic<bool> cutShort{false};
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
    ScopedThreadStopSignal scope_;
};
