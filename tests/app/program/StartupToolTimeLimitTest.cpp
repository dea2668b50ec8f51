// Start-up's bound on its wait for the tool, with real children of the command runner: a child
// that keeps start-up waiting is left behind when the bound's time is up, and only that counts
// as the tool not answering.

#include "app/program/StartupToolTimeLimit.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "common/portable/StopSignal.h"
#include "tests/support/TestPaths.h"

namespace {

using std::chrono::milliseconds;

Text Child(const Text& actions) {
    return "\"" + BuiltProgramPath("ekchild.exe") + "\" " + actions;
}

}  // namespace

TEST(StartupToolTimeLimitTest, AChildStillRunningWhenTheTimeIsUpIsLeftBehindAndNoted) {
    struct Case {
        const char* name;
        milliseconds wait;
        bool childHangs;  // else it answers at once
    };
    const Case cases[] = {
        {"still running when the time is up", milliseconds(300), true},
        {"answers in time", milliseconds(30000), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const Text finished = scratch.File("finished");
        // The hanging child ends by itself long after the bound, leaving a mark when it does.
        const Text actions = c.childHangs ? "out:heading sleep:20000 touch:\"" + finished + "\"" : "out:listing";
        auto outer = std::make_shared<StopSignal>();
        ScopedThreadStopSignal outerScope(outer);
        Text output;
        bool noted = false;
        {
            StartupToolTimeLimit bound(c.wait);
            EXPECT_NE(CurrentThreadStopSignal(), outer);
            output = bound.Runner()(Child(actions), nullptr, false, CommandWatch()).output;
            noted = bound.ToolDidNotAnswer();
        }
        EXPECT_EQ(noted, c.childHangs);
        if (c.childHangs) {
            // Whatever the child had written by then, if anything; the runner did not wait for its end.
            EXPECT_TRUE(output.empty() || output == "heading") << output;
            EXPECT_FALSE(FileExists(finished));
        } else {
            EXPECT_EQ(output, "listing");
        }
        EXPECT_EQ(CurrentThreadStopSignal(), outer) << "the thread's own signal is back";
    }
}

TEST(StartupToolTimeLimitTest, AStopByAnotherSignalIsNotTheToolFailingToAnswer) {
    // The command object keeps the bound's runner for good; a pass stopped by the user later on
    // runs it under its own signal.
    StartupToolTimeLimit bound(milliseconds(30000));
    CommandCaptureFn runner = bound.Runner();
    Text output = "not run";
    std::thread pass([&] {
        auto stopped = std::make_shared<StopSignal>();
        stopped->Request();
        ScopedThreadStopSignal scope(stopped);
        output = runner(Child("out:x sleep:20000"), nullptr, false, CommandWatch()).output;
    });
    pass.join();
    EXPECT_EQ(output, "");
    EXPECT_FALSE(bound.ToolDidNotAnswer());
}
