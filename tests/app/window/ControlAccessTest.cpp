// Control property access and window-thread calls, against the real main window: the test thread
// is the window thread, and std::threads play the workers.

#include "app/window/ControlAccess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "app/window/MainWindow.h"
#include "app/window/PrivateMessages.h"
#include "app/window/WindowThreadCall.h"
#include "common/PumpingWait.h"
#include "tests/support/ProgramUnderTest.h"

namespace {

// Handles this thread's messages until `condition` holds or about `timeoutMs` has passed.
template <typename Condition>
bool PumpUntil(Condition condition, int timeoutMs = 10000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs))
            return false;
        PumpingWait(5);
    }
    return true;
}

// The window's own thread waits for no worker, so a worker's result is collected by pumping.
template <typename Fn>
auto OnWorker(Fn fn) {
    using Result = decltype(fn());
    Result result{};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = fn();
        done = true;
    });
    bool finished = PumpUntil([&] { return done.load(); });
    worker.join();
    EXPECT_TRUE(finished) << "the worker's access did not complete";
    return result;
}

class ControlAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE));
        hwnd_ = window_.Handle();
    }
    void TearDown() override {
        // The window's end posts a quit request; it must not reach the next test's waits.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    MainWindow window_;
    HWND hwnd_ = nullptr;
};

TEST_F(ControlAccessTest, WorkerWritesAndReadsBackEveryPropertyKind) {
    // Bytes of code page 936 (a Chinese folder name) and a log far beyond an edit box's default limit.
    const Text chineseFolder = "C:\\\xB1\xB8\xB7\xDD\\entries";
    Text longLog;
    while (longLog.size() < 200000)
        longLog += "12:00:00 - a log line of some length to fill the box\r\n";
    struct Case {
        const char* name;
        int id;
        int property;
        ControlValue value;
    };
    const Case cases[] = {
        {"enable the stop button", kStopButtonId, kPropDisabled, 0},
        {"disable the start button", kStartButtonId, kPropDisabled, 1},
        {"disable the restore button", kRestoreButtonId, kPropDisabled, 1},
        {"folder text in code page 936", kFolderFieldId, kPropText, chineseFolder},
        {"empty folder text", kFolderFieldId, kPropText, Text()},
        {"long log text", kLogBoxId, kPropText, longLog},
        {"select option 1", kOptionButton1Id, kPropSelected, 1},
        {"unselect option 3", kOptionButton3Id, kPropSelected, 0},
        {"caret inside the log", kLogBoxId, kPropSelectionStart, 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(OnWorker([&] { return WriteControlProperty(hwnd_, c.id, c.property, kWholeProperty, c.value); }));
        std::optional<ControlValue> read =
            OnWorker([&] { return ReadControlProperty(hwnd_, c.id, c.property, kWholeProperty); });
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, c.value);
    }
    // What the workers wrote is what the window shows.
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd_, kStopButtonId)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd_, kStartButtonId)));
    EXPECT_EQ(SendMessageA(GetDlgItem(hwnd_, kOptionButton1Id), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ControlAccessTest, SelectingAnOptionUnselectsTheOthersOfItsGroup) {
    const int options[] = {kOptionButton1Id, kOptionButton2Id, kOptionButton3Id};
    for (int chosen : options) {
        SCOPED_TRACE(chosen);
        ASSERT_TRUE(OnWorker([&] { return WriteControlInt(hwnd_, chosen, kPropSelected, 1); }));
        for (int option : options)
            EXPECT_EQ(ReadControlInt(hwnd_, option, kPropSelected), option == chosen ? 1 : 0);
    }
}

TEST_F(ControlAccessTest, CaretAtEndPutsTypedTextAfterTheLastCharacter) {
    // Ends in a double-byte character: the end must be found whatever the edit box counts in.
    ASSERT_TRUE(WriteControlText(hwnd_, kLogBoxId, "first line\r\nsecond \xD6\xD0"));
    ASSERT_TRUE(WriteControlInt(hwnd_, kLogBoxId, kPropSelectionStart, 0));
    ASSERT_TRUE(OnWorker([&] { return WriteControlInt(hwnd_, kLogBoxId, kPropSelectionStart, -1); }));
    SendMessageA(GetDlgItem(hwnd_, kLogBoxId), WM_CHAR, 'Z', 0);
    EXPECT_EQ(ReadControlText(hwnd_, kLogBoxId), "first line\r\nsecond \xD6\xD0Z");
}

TEST_F(ControlAccessTest, RefusesWhatDoesNotApplyAndChangesNothing) {
    struct Case {
        const char* name;
        int id;
        int property;
        int index;
        ControlValue value;
    };
    const Case cases[] = {
        {"no such control", 0x16018999, kPropText, kWholeProperty, Text("x")},
        {"no such property", kFolderFieldId, 7, kWholeProperty, 1},
        {"an element index", kFolderFieldId, kPropText, 0, Text("x")},
        {"selected on an edit box", kFolderFieldId, kPropSelected, kWholeProperty, 1},
        {"selected on a push button", kStartButtonId, kPropSelected, kWholeProperty, 1},
        {"selection start on a button", kStartButtonId, kPropSelectionStart, kWholeProperty, 0},
        {"text given for disabled", kStartButtonId, kPropDisabled, kWholeProperty, Text("1")},
        {"number given for text", kFolderFieldId, kPropText, kWholeProperty, 5},
    };
    WriteControlText(hwnd_, kFolderFieldId, "unchanged");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(OnWorker([&] { return WriteControlProperty(hwnd_, c.id, c.property, c.index, c.value); }));
        bool readable = c.property == kPropText || c.property == kPropDisabled;
        if (!readable || c.index != kWholeProperty || c.id == 0x16018999) {
            EXPECT_FALSE(OnWorker([&] { return ReadControlProperty(hwnd_, c.id, c.property, c.index); }).has_value());
        }
    }
    EXPECT_EQ(ReadControlText(hwnd_, kFolderFieldId), "unchanged");
    EXPECT_EQ(ReadControlInt(hwnd_, kStartButtonId, kPropDisabled), 0);
    EXPECT_EQ(ReadControlInt(hwnd_, kOptionButton3Id, kPropSelected), 1);
}

TEST_F(ControlAccessTest, WorkerCallsRunOnTheWindowThreadEvenInsideAPumpingWait) {
    const DWORD windowThread = GetCurrentThreadId();
    std::atomic<int> wrongThread{0};
    std::atomic<int> ran{0};
    std::atomic<bool> done{false};
    // A subclassed log box sees where each property access is carried out.
    static std::atomic<DWORD> seenThread;
    static WNDPROC original;
    HWND log = GetDlgItem(hwnd_, kLogBoxId);
    original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        log, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_SETTEXT || m == WM_GETTEXT)
                seenThread = GetCurrentThreadId();
            return CallWindowProcA(original, w, m, wp, lp);
        })));

    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) {
            bool called = RunOnWindowThread(hwnd_, [&] {
                if (GetCurrentThreadId() != windowThread)
                    ++wrongThread;
                ++ran;
            });
            if (!called)
                break;
            Text line = "line " + std::to_string(i) + "\r\n";
            if (!WriteControlText(hwnd_, kLogBoxId, ReadControlText(hwnd_, kLogBoxId) + line))
                break;
        }
        done = true;
    });
    // The window thread sits in pumping waits (as a pass's pause or the command runner would)
    // and never waits for the worker itself.
    for (int waits = 0; !done && waits < 1000; ++waits)
        PumpingWait(10);
    worker.join();
    SetWindowLongPtrA(log, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));

    EXPECT_TRUE(done);
    EXPECT_EQ(ran, 20);
    EXPECT_EQ(wrongThread, 0);
    EXPECT_EQ(seenThread, windowThread);
    Text text = ReadControlText(hwnd_, kLogBoxId);
    EXPECT_NE(text.find("line 0\r\n"), Text::npos);
    EXPECT_NE(text.find("line 19\r\n"), Text::npos);
}

TEST_F(ControlAccessTest, OnTheWindowThreadTheCallIsDirect) {
    // Inside a window-thread call, further calls and property accesses do not go through the
    // message queue again (which would deadlock a thread waiting on itself).
    std::atomic<bool> nested{false};
    bool outer = OnWorker([&] {
        return RunOnWindowThread(hwnd_, [&] {
            nested = RunOnWindowThread(hwnd_, [] {}) && WriteControlText(hwnd_, kFolderFieldId, "nested");
        });
    });
    EXPECT_TRUE(outer);
    EXPECT_TRUE(nested);
    EXPECT_EQ(ReadControlText(hwnd_, kFolderFieldId), "nested");
}

TEST_F(ControlAccessTest, DisablingTheFocusedButtonMovesTheFocusOn) {
    HWND start = GetDlgItem(hwnd_, kStartButtonId);
    SetForegroundWindow(hwnd_);
    SetFocus(start);
    ASSERT_EQ(GetFocus(), start);
    ASSERT_TRUE(OnWorker([&] { return WriteControlInt(hwnd_, kStartButtonId, kPropDisabled, 1); }));
    HWND focus = GetFocus();
    EXPECT_NE(focus, start);
    EXPECT_TRUE(focus && IsChild(hwnd_, focus) && IsWindowEnabled(focus));
}

TEST_F(ControlAccessTest, ForgedPrivateMessageIsIgnored) {
    // Any program can send a window this message; its lParam must never be trusted as a call.
    std::atomic<LRESULT> answer{-1};
    std::thread other(
        [&] { answer = SendMessageA(hwnd_, kMsgRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&answer)); });
    PumpUntil([&] { return answer != -1; });
    other.join();
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(SendMessageA(hwnd_, kMsgRunOnWindowThread, 0, 0x12345678), 0);
}

class ControlAccessWindowGoneTest : public ::testing::Test {
protected:
    void TearDown() override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

TEST_F(ControlAccessWindowGoneTest, CallsAfterTheWindowIsDestroyedFailAtOnce) {
    HWND hwnd = nullptr;
    {
        MainWindow window;
        ASSERT_TRUE(window.Create(GetModuleHandleA(nullptr), SW_HIDE));
        hwnd = window.Handle();
    }
    std::atomic<bool> ran{false};
    std::thread worker([&] {
        EXPECT_FALSE(RunOnWindowThread(hwnd, [&] { ran = true; }));
        EXPECT_FALSE(ReadControlProperty(hwnd, kLogBoxId, kPropText, kWholeProperty).has_value());
        EXPECT_FALSE(WriteControlInt(hwnd, kStartButtonId, kPropDisabled, 1));
        EXPECT_EQ(ReadControlInt(hwnd, kStartButtonId, kPropDisabled), -1);
    });
    worker.join();
    EXPECT_FALSE(ran);
}

TEST_F(ControlAccessWindowGoneTest, CallWaitingWhileTheWindowIsDestroyedFails) {
    MainWindow window;
    ASSERT_TRUE(window.Create(GetModuleHandleA(nullptr), SW_HIDE));
    HWND hwnd = window.Handle();
    std::atomic<bool> ran{false};
    std::atomic<int> result{-1};
    std::thread worker([&] { result = RunOnWindowThread(hwnd, [&] { ran = true; }) ? 1 : 0; });
    // The window thread reads no message until the worker's call is queued for it, then closes
    // the window, and reads nothing afterwards but what the release reads.
    bool queued = WaitUntil([] { return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0; }, 10000);
    EXPECT_TRUE(queued);
    DestroyWindow(hwnd);
    ReleaseWaitingWindowThreadCalls();
    EXPECT_TRUE(WaitUntil([&] { return result != -1; }, 10000))
        << "the worker was left waiting for a window that is gone";
    if (result == -1)
        ProcessPendingMessages();
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(ran);
}

TEST_F(ControlAccessWindowGoneTest, CallFailsWhenTheWindowThreadHasEnded) {
    // The thread ends with its window still open: the system destroys the window with the thread.
    std::unique_ptr<MainWindow> window;
    HWND hwnd = nullptr;
    std::thread windowThread([&] {
        window = std::make_unique<MainWindow>();
        if (window->Create(GetModuleHandleA(nullptr), SW_HIDE))
            hwnd = window->Handle();
    });
    windowThread.join();
    ASSERT_NE(hwnd, nullptr);
    std::atomic<bool> ran{false};
    EXPECT_FALSE(RunOnWindowThread(hwnd, [&] { ran = true; }));
    EXPECT_FALSE(WriteControlText(hwnd, kFolderFieldId, "x"));
    EXPECT_FALSE(ran);
}

}  // namespace
