// The window as a pass sees it, on a real window: a worker thread uses the host while the test
// thread, the window thread, keeps the messages flowing.

#include "app/passes/WindowPassHost.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "app/log/LogClock.h"
#include "app/passes/TaskbarProgress.h"
#include "app/window/ControlAccess.h"
#include "app/window/MainWindow.h"
#include "common/PumpingWait.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"

namespace {

// The threads that read the log's clock, that is, made a time stamp.
std::mutex g_stampThreadsMutex;
std::vector<DWORD> g_stampThreads;

SYSTEMTIME RecordingClock() {
    {
        std::lock_guard lock(g_stampThreadsMutex);
        g_stampThreads.push_back(GetCurrentThreadId());
    }
    return {2024, 1, 0, 15, 14, 5, 7, 0};
}

Text Title(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

class WindowPassHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
        host_ = std::make_shared<WindowPassHost>(window_.Handle(), signal_, "C:\\program folder");
    }
    void TearDown() override {
        SetLogClockForTesting(nullptr);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // Runs `body` on a worker thread while this thread serves the window, and waits for it.
    void OnWorker(const std::function<void()>& body) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            body();
            done = true;
        });
        while (!done)
            PumpingWait(5);
        worker.join();
    }

    HWND Window() const { return window_.Handle(); }
    Text Log() const { return ReadControlText(Window(), kLogBoxId); }
    int Disabled(int id) const { return ReadControlInt(Window(), id, kPropDisabled); }

    MainWindow window_;
    StopSignalPtr signal_ = std::make_shared<StopSignal>();
    std::shared_ptr<WindowPassHost> host_;
};

TEST_F(WindowPassHostTest, AWorkerReadsTheFolderLogsAndSetsButtons) {
    WriteControlText(Window(), kFolderFieldId, "D:\\\xb1\xb8\xb7\xdd");
    Text folder;
    OnWorker([&] {
        folder = host_->FolderField();
        host_->AppendLog("first line");
        host_->SetButtonEnabled(PassButton::Start, false);
        host_->SetButtonEnabled(PassButton::Stop, true);
        host_->SetButtonEnabled(PassButton::Restore, false);
    });
    EXPECT_EQ(folder, "D:\\\xb1\xb8\xb7\xdd");
    EXPECT_GT(FindText(Log(), " - first line\r\n"), 0) << Log();
    EXPECT_EQ(Disabled(kStartButtonId), 1);
    EXPECT_EQ(Disabled(kStopButtonId), 0);
    EXPECT_EQ(Disabled(kRestoreButtonId), 1);
    EXPECT_EQ(host_->ProgramFolder(), "C:\\program folder");
    EXPECT_EQ(host_->PassStopSignal(), signal_);
    EXPECT_FALSE(host_->ShouldStop());
}

TEST_F(WindowPassHostTest, AfterStopNothingTheWorkerSendsLands) {
    const Text logBefore = Log();
    std::atomic<bool> go{false};
    std::atomic<bool> done{false};
    // The worker has passed its own check and is about to log when Stop arrives: its requests
    // reach the window thread only after the signal was set.
    std::thread worker([&] {
        while (!go)
            Sleep(1);
        host_->AppendLog("too late");
        host_->SetButtonEnabled(PassButton::Start, false);
        host_->SetButtonEnabled(PassButton::Stop, true);
        done = true;
    });
    go = true;
    Sleep(50);  // the worker's first request now waits for this thread
    signal_->Request();
    while (!done)
        PumpingWait(5);
    worker.join();

    EXPECT_EQ(Log(), logBefore);
    EXPECT_EQ(Disabled(kStartButtonId), 0);
    EXPECT_EQ(Disabled(kStopButtonId), 1);
    EXPECT_TRUE(host_->ShouldStop());
}

TEST_F(WindowPassHostTest, AHostWhoseWindowIsGoneAnswersEmptyAndChangesNothing) {
    WriteControlText(Window(), kFolderFieldId, "D:\\x");
    DestroyWindow(Window());
    Text folder = "unset";
    OnWorker([&] {
        folder = host_->FolderField();
        host_->AppendLog("nowhere");
        host_->SetButtonEnabled(PassButton::Start, true);
        host_->Pause(10);
    });
    EXPECT_EQ(folder, "");
}

// The time stamp is the costly part of a line (a script engine on some systems): the worker makes
// it, and the window thread only inserts the finished line.
TEST_F(WindowPassHostTest, AWorkersLinesAreStampedOnTheWorkerNotOnTheWindowThread) {
    {
        std::lock_guard lock(g_stampThreadsMutex);
        g_stampThreads.clear();
    }
    SetLogClockForTesting(&RecordingClock);
    const Text before = Log();
    DWORD workerThread = 0;
    OnWorker([&] {
        workerThread = GetCurrentThreadId();
        host_->AppendLog("first");
        host_->AppendLog("second");
    });

    EXPECT_EQ(Log(), before + "09:05:07 - first\r\n09:05:07 - second\r\n");
    std::lock_guard lock(g_stampThreadsMutex);
    EXPECT_EQ(g_stampThreads, (std::vector<DWORD>{workerThread, workerThread}))
        << "window thread " << GetCurrentThreadId();
}

TEST_F(WindowPassHostTest, ProgressShowsInTheTitleUntilThePassEnds) {
    ScratchFolder programFolder;
    auto runs = std::make_shared<RunningPasses>(programFolder.Path());
    runs->ShowProgressIn(Window());
    std::vector<std::pair<PassKind, PassResult>> ended;
    runs->SetEndedListener([&](PassKind kind, PassResult result) { ended.push_back({kind, result}); });
    auto restoreSignal = std::make_shared<StopSignal>();
    auto backup = std::make_shared<WindowPassHost>(Window(), signal_, programFolder.Path(), PassKind::Backup, runs);
    auto restore =
        std::make_shared<WindowPassHost>(Window(), restoreSignal, programFolder.Path(), PassKind::Restore, runs);
    ASSERT_EQ(runs->Begin(PassKind::Backup), PassLockResult::Held);
    ASSERT_EQ(runs->Begin(PassKind::Restore), PassLockResult::Held);
    // The shell's word that the taskbar button exists: the progress goes there too, where the
    // shell has the taskbar interface (this one may have only a stand-in), and the title is as ever.
    SendMessageA(Window(), TaskbarButtonCreatedMessage(), 0, 0);

    OnWorker([&] { backup->ShowProgress(12, 50); });
    EXPECT_EQ(Title(Window()), "Entry Keeper - backing up 12/50");
    OnWorker([&] { restore->ShowProgress(3, 8); });
    EXPECT_EQ(Title(Window()), "Entry Keeper - backing up 12/50, restoring 3/8");

    OnWorker([&] { backup->PassEnded(PassResult::SomeNotDone); });
    EXPECT_EQ(Title(Window()), "Entry Keeper - restoring 3/8");

    // A stopped pass shows nothing more; what it showed is cleared by the Stop, not by its end.
    restoreSignal->Request();
    OnWorker([&] { restore->ShowProgress(4, 8); });
    EXPECT_EQ(Title(Window()), "Entry Keeper - restoring 3/8");
    runs->ClearAllProgress();
    EXPECT_EQ(Title(Window()), "Entry Keeper");
    OnWorker([&] { restore->PassEnded(PassResult::NotDone); });
    EXPECT_EQ(Title(Window()), "Entry Keeper");

    EXPECT_EQ(ended, (std::vector<std::pair<PassKind, PassResult>>{{PassKind::Backup, PassResult::SomeNotDone},
                                                                   {PassKind::Restore, PassResult::NotDone}}));
}

}  // namespace
