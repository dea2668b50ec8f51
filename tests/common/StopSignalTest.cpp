#include "common/StopSignal.h"

#include <gtest/gtest.h>

#include <thread>

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
