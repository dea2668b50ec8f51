// The window as a pass sees it, on a real window: a worker thread uses the host while the test
// thread, the window thread, keeps the messages flowing.

#include "app/WindowPassHost.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "app/ControlAccess.h"
#include "app/MainWindow.h"
#include "common/PumpingWait.h"
#include "common/TextOps.h"

namespace {

class WindowPassHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
        host_ = std::make_shared<WindowPassHost>(window_.Handle(), signal_, "C:\\program folder");
    }
    void TearDown() override {
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

}  // namespace
