#include "common/portable/StopSignal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

TEST(StopSignalTest, CurrentSignalIsPerThreadAndRestoredOnScopeEnd) {
    auto outer = std::make_shared<StopSignal>();
    auto inner = std::make_shared<StopSignal>();
    EXPECT_FALSE(CurrentThreadShouldStop());
    {
        ScopedThreadStopSignal a(outer);
        {
            ScopedThreadStopSignal b(inner);
            inner->Request();
            EXPECT_TRUE(CurrentThreadShouldStop());
            bool otherThreadSaw = true;
            std::thread([&] { otherThreadSaw = CurrentThreadShouldStop(); }).join();
            EXPECT_FALSE(otherThreadSaw);
        }
        EXPECT_EQ(CurrentThreadStopSignal(), outer);
        EXPECT_FALSE(CurrentThreadShouldStop());
    }
    EXPECT_EQ(CurrentThreadStopSignal(), nullptr);
}

TEST(StopSignalTest, ADeadlineMakesTheSignalRequestedOnceItHasPassed) {
    using std::chrono::milliseconds;
    struct Case {
        const char* name;
        milliseconds delay;
        bool requestedAtOnce;
    };
    const Case cases[] = {
        {"no delay", milliseconds(0), true},
        {"a delay below zero counts as none", milliseconds(-5), true},
        {"an hour ahead", std::chrono::hours(1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StopSignal signal;
        EXPECT_FALSE(signal.Requested());
        signal.RequestAfter(c.delay);
        EXPECT_EQ(signal.Requested(), c.requestedAtOnce);
        signal.Request();
        EXPECT_TRUE(signal.Requested());
    }

    // A short deadline comes by itself, and the thread that has the signal installed sees it.
    auto soon = std::make_shared<StopSignal>();
    soon->RequestAfter(milliseconds(30));
    ScopedThreadStopSignal scope(soon);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!CurrentThreadShouldStop() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(milliseconds(1));
    EXPECT_TRUE(CurrentThreadShouldStop());
    EXPECT_TRUE(soon->Requested()) << "a deadline that has passed stays passed";
}

// Every pass runs on a thread of its own that installs its signal and then ends. A thread's end
// must never touch a signal again: when the installed signal was kept in an owning per-thread
// pointer, this toolchain's thread-exit clean-up destroyed it from storage it had already freed,
// and a pass thread now and then crashed as it ended (at once, under Wine's heap checks).
TEST(StopSignalTest, ThreadsThatInstalledASignalEndCleanly) {
    std::vector<std::weak_ptr<StopSignal>> released;
    for (int round = 0; round < 100; ++round) {
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            auto signal = std::make_shared<StopSignal>();
            released.push_back(signal);
            threads.emplace_back([signal] {
                ScopedThreadStopSignal scope(signal);
                // Heap traffic, so freed per-thread storage is soon handed out again.
                std::vector<std::unique_ptr<int[]>> churn;
                for (int i = 0; i < 64; ++i)
                    churn.emplace_back(new int[4]{1, 1, 1, 1});
                EXPECT_EQ(CurrentThreadStopSignal(), signal);
            });
        }
        for (std::thread& thread : threads)
            thread.join();
    }
    for (const std::weak_ptr<StopSignal>& signal : released)
        EXPECT_TRUE(signal.expired()) << "a thread's end kept its signal";
}
