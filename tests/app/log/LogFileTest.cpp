// The run's log file (/log): lines appended whole, set aside when full, and a file that cannot be
// written reported once in the window while the log goes on. The program runs in the time zone
// America/New_York (see this folder's CMakeLists.txt).

#include "app/log/LogFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <optional>
#include <thread>

#include "app/log/Log.h"
#include "app/log/LogClock.h"
#include "app/passes/WindowPassHost.h"
#include "app/window/ControlAccess.h"
#include "app/window/MainWindow.h"
#include "common/ComOwners.h"
#include "common/PumpingWait.h"
#include "common/portable/TextOps.h"
#include "tests/support/FixedClock.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UnwritableFile.h"
#include "tests/support/portable/TextSearches.h"

namespace {

TEST(LogFileTest, AppendsEachLineWholeAfterWhatTheFileHolds) {
    ScratchFolder folder;
    const Text path = folder.File("run.log");
    ASSERT_TRUE(WriteWholeFile(path, "an earlier run\r\n"));
    {
        LogFile file(path);
        EXPECT_TRUE(file.Append("2024/1/15 09:05:07 - first\r\n"));
        EXPECT_TRUE(file.Append("2024/1/15 09:05:08 - \xbf\xcd\xbb\xa7: backed up 1/1\r\n"));
    }
    LogFile again(path);
    EXPECT_TRUE(again.Append("2024/1/15 09:06:00 - next run\r\n"));
    EXPECT_EQ(ReadWholeFile(path), "an earlier run\r\n2024/1/15 09:05:07 - first\r\n"
                                   "2024/1/15 09:05:08 - \xbf\xcd\xbb\xa7: backed up 1/1\r\n"
                                   "2024/1/15 09:06:00 - next run\r\n");
    EXPECT_FALSE(again.TakeFailureToReport());
}

// A write that a full disk cut off halfway leaves a torn last line; the next line is not glued to it.
TEST(LogFileTest, ALineAfterATornLastLineStartsOnItsOwn) {
    struct Case {
        const char* name;
        Text held;
        Text after;
    };
    const Case cases[] = {
        {"torn in its text", "2024/1/15 09:05:07 - A: back", "2024/1/15 09:05:07 - A: back\r\n"},
        {"torn between its two ends", "2024/1/15 09:05:07 - A\r", "2024/1/15 09:05:07 - A\r\n"},
        {"whole", "2024/1/15 09:05:07 - A\r\n", "2024/1/15 09:05:07 - A\r\n"},
        {"an empty file", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const Text path = folder.File("run.log");
        ASSERT_TRUE(WriteWholeFile(path, c.held));
        LogFile file(path);
        EXPECT_TRUE(file.Append("2024/1/15 09:06:00 - next run\r\n"));
        EXPECT_TRUE(file.Append("2024/1/15 09:06:01 - more\r\n"));
        EXPECT_EQ(ReadWholeFile(path), c.after + "2024/1/15 09:06:00 - next run\r\n2024/1/15 09:06:01 - more\r\n");
    }
}

TEST(LogFileTest, AFullFileIsSetAsideReplacingTheOlderOne) {
    ScratchFolder folder;
    const Text path = folder.File("run.log");
    ASSERT_TRUE(WriteWholeFile(RotatedLogPath(path), "the oldest lines\r\n"));
    LogFile file(path, 100);
    const Text line(38, 'a');  // 40 bytes with its line end
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(file.Append(line + "\r\n"));
    EXPECT_EQ(ReadWholeFile(RotatedLogPath(path)), "the oldest lines\r\n") << "not set aside before it is full";

    // The third line would take the file past 100 bytes.
    ASSERT_TRUE(file.Append(Text(38, 'b') + "\r\n"));
    EXPECT_EQ(ReadWholeFile(RotatedLogPath(path)), line + "\r\n" + line + "\r\n");
    EXPECT_EQ(ReadWholeFile(path), Text(38, 'b') + "\r\n");

    // A line longer than the limit goes whole into a file of its own.
    ASSERT_TRUE(file.Append(Text(150, 'c') + "\r\n"));
    EXPECT_EQ(ReadWholeFile(RotatedLogPath(path)), Text(38, 'b') + "\r\n");
    EXPECT_EQ(ReadWholeFile(path), Text(150, 'c') + "\r\n");
    EXPECT_FALSE(file.TakeFailureToReport());
}

TEST(LogFileTest, AFileThatCannotBeWrittenIsToBeReportedOnce) {
    struct Case {
        const char* name;
        bool readOnly;  // else the file's folder does not exist
    };
    const Case cases[] = {{"a read-only file", true}, {"a missing folder", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const Text path = c.readOnly ? folder.File("run.log") : folder.File("gone\\run.log");
        std::optional<UnwritableFile> readOnly;
        if (c.readOnly) {
            readOnly.emplace(path, "kept\r\n");
            ASSERT_TRUE(readOnly->IsHeld());
        }
        LogFile file(path);
        EXPECT_FALSE(file.TakeFailureToReport()) << "nothing failed yet";
        EXPECT_FALSE(file.Append("a\r\n"));
        EXPECT_FALSE(file.Append("b\r\n"));
        EXPECT_TRUE(file.TakeFailureToReport());
        EXPECT_FALSE(file.TakeFailureToReport());
        EXPECT_FALSE(file.Append("c\r\n"));
        EXPECT_FALSE(file.TakeFailureToReport()) << "once for the whole run";
        if (c.readOnly) {
            EXPECT_EQ(ReadWholeFile(path), "kept\r\n");
            // A file that becomes writable again takes the following lines.
            readOnly.reset();
            EXPECT_TRUE(file.Append("d\r\n"));
            EXPECT_EQ(ReadWholeFile(path), "kept\r\nd\r\n");
        }
    }
}

class RunLogFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE));
        // 09:05:07 on 15 January 2024 in New York.
        SetFixedClock({2024, 1, 0, 15, 14, 5, 7, 0});
        SetLogClockForTesting(&FixedClock);
    }
    void TearDown() override {
        SetRunLogFile(nullptr);
        SetLogClockForTesting(nullptr);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    HWND Window() const { return window_.Handle(); }
    Text Log() const { return ReadControlText(Window(), kLogBoxId); }

    // Logs `message` through a pass's host on a worker thread while this thread serves the window.
    void LogFromWorker(const Text& message) {
        auto host = std::make_shared<WindowPassHost>(Window(), std::make_shared<StopSignal>(), "C:\\program");
        std::atomic<bool> done{false};
        std::thread worker([&] {
            host->AppendLog(message);
            done = true;
        });
        while (!done)
            PumpingWait(5);
        worker.join();
    }

    ScopedComInit com_;
    MainWindow window_;
    ScratchFolder folder_;
};

TEST_F(RunLogFileTest, EveryLineOfTheWindowAlsoGoesToTheFileWithItsDate) {
    const Text path = folder_.File("run.log");
    SetRunLogFile(std::make_shared<LogFile>(path));
    const Text before = Log();
    ASSERT_TRUE(AppendLog(Window(), "from the window thread"));
    LogFromWorker("from a pass");

    EXPECT_EQ(Log(), before + "09:05:07 - from the window thread\r\n09:05:07 - from a pass\r\n");
    EXPECT_EQ(ReadWholeFile(path),
              "2024/1/15 09:05:07 - from the window thread\r\n2024/1/15 09:05:07 - from a pass\r\n");

    // Without a log file nothing is written anywhere but the window.
    SetRunLogFile(nullptr);
    ASSERT_TRUE(AppendLog(Window(), "window only"));
    EXPECT_EQ(Occurrences(ReadWholeFile(path), "window only"), 0);
}

TEST_F(RunLogFileTest, AFileThatCannotBeWrittenIsSaidOnceAndTheLogGoesOn) {
    const Text path = folder_.File("run.log");
    UnwritableFile readOnly(path);
    ASSERT_TRUE(readOnly.IsHeld());
    SetRunLogFile(std::make_shared<LogFile>(path));
    const Text before = Log();
    ASSERT_TRUE(AppendLog(Window(), "first"));
    LogFromWorker("second");
    LogFromWorker("third");

    const Text failure = "09:05:07 - " + Text(kLogFileFailedText) + path + "\r\n";
    EXPECT_EQ(Log(), before + "09:05:07 - first\r\n" + failure + "09:05:07 - second\r\n09:05:07 - third\r\n");
    EXPECT_EQ(ReadWholeFile(path), "");
}

}  // namespace
