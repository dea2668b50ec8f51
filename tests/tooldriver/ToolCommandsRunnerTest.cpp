// Tool commands issued from several threads: each child starts in the tool's folder, one at a
// time, and a stopped pass that is still waiting for its turn does not start the tool at all.

#include "tooldriver/ToolCommandsRunner.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "common/portable/StopSignal.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "toollink/portable/ToolLocation.h"

namespace {

class ToolCommandsRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearToolLocation();
        SetToolDir(toolDir_.Path());
    }
    void TearDown() override {
        ::SetCurrentDirectoryA(BuiltProgramFolder().c_str());
        ClearToolLocation();
    }
    ScratchFolder toolDir_;
    ScratchFolder elsewhere_;
};

TEST_F(ToolCommandsRunnerTest, CommandsOfTwoThreadsNeverOverlapAndEachStartsInTheToolsFolder) {
    std::atomic<int> inside{0};
    std::atomic<int> mostInside{0};
    std::atomic<int> wrongFolder{0};
    const Text elsewhere = elsewhere_.Path();
    CommandRunnerFn slow = [&](const Text&, const ChunkObserver*, bool) {
        const int now = ++inside;
        int seen = mostInside.load();
        while (now > seen && !mostInside.compare_exchange_weak(seen, now)) {
        }
        if (!EqualsIgnoreCase(CurrentDirectory(), toolDir_.Path()))
            ++wrongFolder;
        // Another part of the program moves the current directory while this child "runs".
        ::SetCurrentDirectoryA(elsewhere.c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        --inside;
        return Text("ok");
    };
    const CommandRunnerFn run = RunningInToolDir(slow);
    auto issue = [&] {
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(run("line", nullptr, false), "ok");
    };
    std::thread first(issue);
    std::thread second(issue);
    first.join();
    second.join();
    EXPECT_EQ(mostInside.load(), 1);
    EXPECT_EQ(wrongFolder.load(), 0);
}

TEST_F(ToolCommandsRunnerTest, AStoppedThreadWaitingForItsTurnDoesNotStartTheTool) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> started;
    std::atomic<int> calls{0};
    CommandRunnerFn blocking = [&](const Text& line, const ChunkObserver*, bool) {
        if (++calls == 1) {
            started.set_value();
            released.wait();  // a tool that hangs until the test lets it go
        }
        return line;
    };
    const CommandRunnerFn run = RunningInToolDir(blocking);
    std::thread hung([&] { run("hung", nullptr, false); });
    started.get_future().wait();

    auto waiting = std::async(std::launch::async, [&] {
        auto stop = std::make_shared<StopSignal>();
        ScopedThreadStopSignal scoped(stop);
        std::thread([stop] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            stop->Request();
        }).detach();
        return run("second", nullptr, false);
    });
    const bool gaveUp = waiting.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    release.set_value();
    hung.join();
    ASSERT_TRUE(gaveUp);
    EXPECT_EQ(waiting.get(), "");
    EXPECT_EQ(calls.load(), 1);

    // Once the lock is free a thread without a stop request runs its line as usual.
    EXPECT_EQ(run("third", nullptr, false), "third");
}

TEST_F(ToolCommandsRunnerTest, ACommandNestedInARunningOneOnTheSameThreadRuns) {
    // A message handler on the window thread can issue a command while that thread's own
    // command waits for its child; the same thread must not wait for itself.
    CommandRunnerFn inner = [](const Text& line, const ChunkObserver*, bool) { return line; };
    const CommandRunnerFn runInner = RunningInToolDir(inner);
    CommandRunnerFn outer = [&](const Text& line, const ChunkObserver*, bool) {
        return line + "+" + runInner("nested", nullptr, false);
    };
    auto result = std::async(std::launch::async, [&] { return RunningInToolDir(outer)("outer", nullptr, false); });
    ASSERT_EQ(result.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(result.get(), "outer+nested");
}

}  // namespace
