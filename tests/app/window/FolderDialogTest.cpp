// The folder dialog for real: the shell's dialog opens over a real main window on the test
// thread, and a helper thread answers it as the user would.

#include "app/window/FolderDialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>

#include "app/program/ProgramHandlers.h"
#include "app/window/ControlAccess.h"
#include "app/window/MainWindow.h"
#include "tests/support/NoTool.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/TestPaths.h"
#include "tooldriver/ToolCommands.h"
#include "toollink/PathQueries.h"

namespace {

// The visible dialog windows (class #32770) of this process.
std::vector<HWND> OpenDialogs() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            char className[16] = {};
            GetClassNameA(w, className, sizeof className);
            if (pid == GetCurrentProcessId() && IsWindowVisible(w) && lstrcmpA(className, "#32770") == 0)
                reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        handlers_ = std::make_unique<ProgramHandlers>(folder_.Path(), NoTool());
        window_ = std::make_unique<MainWindow>(handlers_.get());
        ASSERT_TRUE(window_->Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
        WriteControlText(Window(), kFolderFieldId, "D:\\typed before");
    }
    void TearDown() override {
        if (answerer_.joinable())
            answerer_.join();
        window_.reset();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    HWND Window() const { return window_->Handle(); }

    // Once the dialog shows, `act` runs on a helper thread with it; then the dialog is answered
    // with `button` (IDOK or IDCANCEL). Without a dialog within the time, nothing is pressed.
    void AnswerDialog(int button, std::function<void(HWND)> act = {}) {
        answerer_ = std::thread([this, button, act] {
            HWND dialog = nullptr;
            WaitUntil(
                [&] {
                    std::vector<HWND> open = OpenDialogs();
                    dialog = open.empty() ? nullptr : open.front();
                    return dialog != nullptr;
                },
                15000);
            dialogSeen_ = dialog != nullptr;
            if (!dialog)
                return;
            if (act)
                act(dialog);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        });
    }

    ScratchFolder folder_;
    std::unique_ptr<ProgramHandlers> handlers_;
    std::unique_ptr<MainWindow> window_;
    std::thread answerer_;
    std::atomic<bool> dialogSeen_{false};
};

TEST_F(FolderDialogTest, CancellingEmptiesTheFolderField) {
    AnswerDialog(IDCANCEL);
    // The click goes through the window, as the user's does.
    SendMessageA(GetDlgItem(Window(), kBrowseButtonId), BM_CLICK, 0, 0);
    answerer_.join();
    ASSERT_TRUE(dialogSeen_);
    EXPECT_EQ(ReadControlText(Window(), kFolderFieldId), "");
    EXPECT_TRUE(OpenDialogs().empty());
}

TEST_F(FolderDialogTest, ChoosingAFolderPutsItsFullPathIntoTheField) {
    AnswerDialog(IDOK);
    BrowseForBackupFolder(Window());
    answerer_.join();
    ASSERT_TRUE(dialogSeen_);
    const Text chosen = ReadControlText(Window(), kFolderFieldId);
    EXPECT_NE(chosen, "D:\\typed before");
    EXPECT_TRUE(IsDirectory(chosen)) << chosen;
    // A full path: a drive, a separator after it.
    ASSERT_GE(chosen.size(), 3u);
    EXPECT_EQ(chosen.substr(1, 2), ":\\") << chosen;
}

TEST_F(FolderDialogTest, ASecondBrowseWhileTheDialogIsOpenOpensNoSecondOne) {
    std::atomic<size_t> dialogsAfterSecondClick{0};
    AnswerDialog(IDCANCEL, [&](HWND first) {
        PostMessageA(GetDlgItem(Window(), kBrowseButtonId), BM_CLICK, 0, 0);
        Sleep(1500);
        const std::vector<HWND> open = OpenDialogs();
        dialogsAfterSecondClick = open.size();
        // A second dialog would hold the first one's answer back: cancel it first.
        for (HWND extra : open) {
            if (extra != first)
                PostMessageA(extra, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    });
    BrowseForBackupFolder(Window());
    answerer_.join();
    ASSERT_TRUE(dialogSeen_);
    EXPECT_EQ(dialogsAfterSecondClick.load(), 1u);
    // Whatever the nested click did, it is over once the one dialog has been answered.
    EXPECT_TRUE(WaitUntil([] { return OpenDialogs().empty(); }, 5000));
}

}  // namespace
