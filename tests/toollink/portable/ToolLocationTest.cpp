#include "toollink/portable/ToolLocation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(ToolLocationTest, KeepsEachTextApartAndClearsAll) {
    ClearToolLocation();
    SetToolDir("C:\\Tool\\bin\\");
    SetToolPath("C:\\Tool\\bin\\entryctl.exe");
    SetTargetId("T-2");
    EXPECT_EQ(ToolDir(), "C:\\Tool\\bin\\");
    EXPECT_EQ(ToolPath(), "C:\\Tool\\bin\\entryctl.exe");
    EXPECT_EQ(TargetId(), "T-2");
    ClearToolLocation();
    EXPECT_EQ(ToolDir(), "");
    EXPECT_EQ(ToolPath(), "");
    EXPECT_EQ(TargetId(), "");
}

// Readers on other threads see one of the written values whole, never a mix of two.
TEST(ToolLocationTest, ReadersNeverSeeAHalfWrittenText) {
    const Text shortValue = "A";
    const Text longValue(4096, 'B');
    SetToolDir(shortValue);
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 2; ++i) {
        readers.emplace_back([&] {
            while (!done.load()) {
                Text seen = ToolDir();
                if (seen != shortValue && seen != longValue)
                    ++torn;
            }
        });
    }
    for (int i = 0; i < 20000; ++i)
        SetToolDir(i % 2 ? shortValue : longValue);
    done = true;
    for (std::thread& t : readers)
        t.join();
    EXPECT_EQ(torn.load(), 0);
    ClearToolLocation();
}

}  // namespace
