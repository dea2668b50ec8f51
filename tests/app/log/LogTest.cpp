// Appending to the log of a real main window under the test display. The test thread creates the
// window, so it is the window thread; std::threads play the workers. The program runs in the time
// zone America/New_York (see this folder's CMakeLists.txt).

#include "app/log/Log.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <climits>
#include <string>
#include <thread>
#include <vector>

#include "app/log/LogClock.h"
#include "app/log/SystemDateText.h"
#include "app/window/ControlAccess.h"
#include "app/window/MainWindow.h"
#include "common/ComOwners.h"
#include "common/PumpingWait.h"
#include "common/portable/SharedTexts.h"
#include "tests/support/FixedClock.h"

namespace {

// A script class that does not exist: the engine is missing, as for a 64-bit program on 64-bit Windows.
constexpr char kNoScriptEngine[] = "EntryKeeper.NoSuchScriptEngine";

class LogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TIME_ZONE_INFORMATION zone;
        GetTimeZoneInformation(&zone);
        ASSERT_EQ(zone.Bias, 300) << "the program must run with TZ=America/New_York, as ctest runs it";
        ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE));
        hwnd_ = window_.Handle();
        box_ = GetDlgItem(hwnd_, kLogBoxId);
        ASSERT_NE(box_, nullptr);
    }
    void TearDown() override {
        SetLogClockForTesting(nullptr);
        SetScriptClassForTesting(nullptr);
        SetLogWindow(nullptr);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    Text Log() const { return ReadControlText(hwnd_, kLogBoxId); }

    // Runs `fn` on a new thread while this (the window) thread keeps handling messages and
    // calls `onWindowThread` between them; false when the thread did not finish in time.
    template <typename Fn, typename Between>
    bool OnWorkerWhilePumping(Fn fn, Between onWindowThread, int timeoutMs = 120000) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            fn();
            done = true;
        });
        DWORD start = GetTickCount();
        while (!done && GetTickCount() - start < static_cast<DWORD>(timeoutMs)) {
            onWindowThread();
            PumpingWait(1);
        }
        bool finished = done;
        if (!finished)
            worker.detach();  // the process ends with the failed test; joining would hang it
        else
            worker.join();
        return finished;
    }

    // The window thread has COM initialised, as the program's start-up leaves it.
    ScopedComInit com_;
    MainWindow window_;
    HWND hwnd_ = nullptr;
    HWND box_ = nullptr;
};

TEST_F(LogTest, LineBeginsWithTheLocalTimeOfDayThenTheSeparatorAndMessage) {
    struct Case {
        const char* name;
        SYSTEMTIME utc;  // year, month, weekday (ignored), day, hour, minute, second, millisecond
        Text message;
        Text expectedLine;
    };
    const Case cases[] = {
        {"winter morning",
         {2024, 1, 0, 15, 14, 5, 7, 0},
         "A: backing up (entry 1 of 3)",
         "09:05:07 - A: backing up (entry 1 of 3)\r\n"},
        {"summer morning",
         {2024, 7, 0, 15, 13, 5, 7, 500},
         "B: backing up (entry 2 of 3)",
         "09:05:07 - B: backing up (entry 2 of 3)\r\n"},
        {"last second of the local day", {2024, 3, 0, 1, 4, 59, 59, 999}, "late", "23:59:59 - late\r\n"},
        {"local midnight", {2024, 3, 0, 1, 5, 0, 0, 0}, "early", "00:00:00 - early\r\n"},
        {"last second of the local year", {2025, 1, 0, 1, 4, 59, 59, 999}, "old", "23:59:59 - old\r\n"},
        {"local New Year", {2025, 1, 0, 1, 5, 0, 0, 0}, "new", "00:00:00 - new\r\n"},
        {"empty message", {2024, 1, 0, 15, 14, 5, 7, 0}, "", "09:05:07 - \r\n"},
        {"code page 936 message",
         {2024, 1, 0, 15, 0, 0, 0, 0},
         "\xB1\xB8\xB7\xDD entry",
         "19:00:00 - \xB1\xB8\xB7\xDD entry\r\n"},
        // A zero byte would otherwise end the text handed to the edit box, and the line with it.
        {"zero byte in the message",
         {2024, 1, 0, 15, 14, 5, 7, 0},
         Text("tool said \0 here", 16),
         "09:05:07 - tool said ? here\r\n"},
    };
    // Wine's script engine places the changes of the clock up to two hours early, so these are
    // logged without it only, as a 64-bit program on 64-bit Windows logs them.
    const Case clockChangeCases[] = {
        // The clock goes from 01:59:59 straight to 03:00:00 in spring...
        {"before the clock goes forward", {2024, 3, 0, 10, 6, 59, 59, 999}, "a", "01:59:59 - a\r\n"},
        {"after the clock went forward", {2024, 3, 0, 10, 7, 0, 0, 0}, "b", "03:00:00 - b\r\n"},
        {"an hour before the change", {2024, 3, 0, 10, 6, 0, 0, 0}, "c", "01:00:00 - c\r\n"},
        // ...and from 01:59:59 back to 01:00:00 in autumn.
        {"before the clock goes back", {2024, 11, 0, 3, 5, 59, 59, 999}, "d", "01:59:59 - d\r\n"},
        {"after the clock went back", {2024, 11, 0, 3, 6, 0, 0, 0}, "e", "01:00:00 - e\r\n"},
        {"the repeated hour", {2024, 11, 0, 3, 6, 30, 0, 0}, "f", "01:30:00 - f\r\n"},
        {"midnight before the change", {2024, 11, 0, 3, 4, 0, 0, 0}, "g", "00:00:00 - g\r\n"},
    };
    struct Run {
        const char* name;
        const char* scriptClass;
        std::vector<const Case*> cases;
    };
    Run runs[] = {{"with the script engine", nullptr, {}}, {"without the script engine", kNoScriptEngine, {}}};
    for (const Case& c : cases) {
        runs[0].cases.push_back(&c);
        runs[1].cases.push_back(&c);
    }
    for (const Case& c : clockChangeCases)
        runs[1].cases.push_back(&c);

    SetLogClockForTesting(FixedClock);
    for (const Run& run : runs) {
        SCOPED_TRACE(run.name);
        SetScriptClassForTesting(run.scriptClass);
        for (const Case* c : run.cases) {
            SCOPED_TRACE(c->name);
            SetFixedClock(c->utc);
            const Text before = Log();
            ASSERT_TRUE(AppendLog(hwnd_, c->message));
            EXPECT_EQ(Log(), before + c->expectedLine);
        }
    }
}

TEST_F(LogTest, WithoutTheScriptEngineLinesFromEveryThreadBeginWithTheTimeOfDay) {
    SetScriptClassForTesting(kNoScriptEngine);
    SetLogClockForTesting(FixedClock);
    SetFixedClock({2024, 11, 0, 3, 6, 30, 0, 0});
    const Text before = Log();
    ASSERT_TRUE(AppendLog(hwnd_, "from the window thread"));
    ASSERT_TRUE(OnWorkerWhilePumping([&] { EXPECT_TRUE(AppendLog(hwnd_, "from a worker")); }, [] {}));
    EXPECT_EQ(Log(), before + "01:30:00" + kLogSeparator + "from the window thread\r\n" + "01:30:00" + kLogSeparator +
                         "from a worker\r\n");
}

TEST_F(LogTest, ADateTextThatCannotBeReadLeavesTheStampEmptyAndTheLineIsStillLogged) {
    // An object that can be created but writes no date: the stamp is empty, the message stays.
    SetScriptClassForTesting("VBScript.RegExp");
    const Text before = Log();
    ASSERT_TRUE(AppendLog(hwnd_, "from the window thread"));
    ASSERT_TRUE(OnWorkerWhilePumping([&] { EXPECT_TRUE(AppendLog(hwnd_, "from a worker")); }, [] {}));
    EXPECT_EQ(Log(), before + kLogSeparator + "from the window thread\r\n" + kLogSeparator + "from a worker\r\n");
}

TEST_F(LogTest, TypedAndSelectedTextStaysInFrontAndTheCaretEndsAtTheEnd) {
    // The user clicks at the end of the log and types a note, then selects a word of the log.
    SetFocus(box_);
    SendMessageA(box_, EM_SETSEL, INT_MAX, INT_MAX);
    for (char c : Text("my note"))
        SendMessageA(box_, WM_CHAR, static_cast<WPARAM>(c), 0);
    SendMessageA(box_, EM_SETSEL, 0, 5);
    const Text typed = Log();
    ASSERT_EQ(typed, Text(kLogIntroText) + "my note");

    ASSERT_TRUE(AppendLog(hwnd_, "first"));
    Text log = Log();
    ASSERT_EQ(log.substr(0, typed.size()), typed);
    EXPECT_EQ(log.substr(typed.size() + 8), Text(kLogSeparator) + "first\r\n");

    // Enough lines to scroll: after each append the caret is after the last character, in view.
    // (The time of day plays no part here; without the script engine the appends are quicker.)
    SetScriptClassForTesting(kNoScriptEngine);
    for (int i = 0; i < 80; ++i) {
        SendMessageA(box_, EM_SETSEL, 3, 9);  // the user selects something in between
        ASSERT_TRUE(AppendLog(hwnd_, "line " + std::to_string(i)));
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(box_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const DWORD length = static_cast<DWORD>(GetWindowTextLengthW(box_));
        ASSERT_EQ(start, length) << "after line " << i;
        ASSERT_EQ(end, length) << "after line " << i;
    }
    const LRESULT lastLine = SendMessageA(box_, EM_GETLINECOUNT, 0, 0) - 1;
    EXPECT_GT(SendMessageA(box_, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the log did not scroll to its end";
    POINTL caretPlace = {};
    LRESULT lastLineStart = SendMessageA(box_, EM_LINEINDEX, lastLine, 0);
    SendMessageA(box_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&caretPlace), lastLineStart);
    RECT client = {};
    GetClientRect(box_, &client);
    EXPECT_GE(caretPlace.y, client.top);
    EXPECT_LT(caretPlace.y, client.bottom) << "the end of the log is not in view";
    EXPECT_EQ(Log().substr(0, typed.size()), typed);
}

TEST_F(LogTest, ConcurrentAppendsLoseNoLineAndInterleaveOnlyWholeLines) {
    constexpr int kWorkerLines = 500;
    constexpr int kWindowLines = 100;
    const Text before = Log();

    std::atomic<int> failures{0};
    auto worker = [&](const char* name) {
        for (int i = 0; i < kWorkerLines; ++i) {
            if (!AppendLog(hwnd_, Text(name) + " " + std::to_string(i)))
                ++failures;
        }
    };
    int windowLines = 0;
    bool finished = OnWorkerWhilePumping(
        [&] {
            std::thread second([&] { worker("B"); });
            worker("A");
            second.join();
        },
        [&] {
            if (windowLines < kWindowLines && AppendLog(hwnd_, "W " + std::to_string(windowLines)))
                ++windowLines;
        },
        600000);
    ASSERT_TRUE(finished);
    EXPECT_EQ(failures.load(), 0);
    while (windowLines < kWindowLines)
        ASSERT_TRUE(AppendLog(hwnd_, "W " + std::to_string(windowLines++)));

    const Text log = Log();
    ASSERT_EQ(log.substr(0, before.size()), before);
    // Every line is "hh:mm:ss - <source> <n>", and each source's numbers come in order, once each.
    int next[3] = {0, 0, 0};
    const char sources[3] = {'A', 'B', 'W'};
    size_t at = before.size();
    while (at < log.size()) {
        size_t lineEnd = log.find(kLineSep, at);
        ASSERT_NE(lineEnd, Text::npos) << "unterminated line at " << at;
        const Text line = log.substr(at, lineEnd - at);
        at = lineEnd + 2;
        ASSERT_GE(line.size(), 8u + 3 + 3) << line;
        EXPECT_EQ(line[2], ':') << line;
        EXPECT_EQ(line[5], ':') << line;
        ASSERT_EQ(line.substr(8, 3), kLogSeparator) << line;
        const Text body = line.substr(11);
        int source = -1;
        for (int s = 0; s < 3; ++s)
            if (body[0] == sources[s] && body[1] == ' ')
                source = s;
        ASSERT_NE(source, -1) << line;
        ASSERT_EQ(body.substr(2), std::to_string(next[source])) << "lost, repeated or cut line: " << line;
        ++next[source];
    }
    EXPECT_EQ(next[0], kWorkerLines);
    EXPECT_EQ(next[1], kWorkerLines);
    EXPECT_EQ(next[2], kWindowLines);
}

TEST_F(LogTest, FindsTheMainWindowOrTheRegisteredOne) {
    const Text before = Log();
    // Unregistered, a worker's line goes to this process's main window.
    EXPECT_EQ(LogWindow(), hwnd_);
    ASSERT_TRUE(OnWorkerWhilePumping([] { EXPECT_TRUE(AppendLog("found by its class")); }, [] {}));
    const Text log = Log();
    ASSERT_EQ(log.substr(0, before.size()), before);
    EXPECT_EQ(log.substr(before.size() + 8), Text(kLogSeparator) + "found by its class\r\n");

    // A registered window takes the lines instead; one without a log box, or one that is gone,
    // takes none, and the main window gets none either.
    HWND plain = CreateWindowExA(0, "Static", "no log here", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    SetLogWindow(plain);
    EXPECT_EQ(LogWindow(), plain);
    EXPECT_FALSE(AppendLog("into a window without a log"));
    DestroyWindow(plain);
    EXPECT_FALSE(AppendLog("into the registered window that is gone"));
    EXPECT_FALSE(AppendLog(plain, "into a window that is gone"));
    EXPECT_EQ(Log(), log);

    SetLogWindow(hwnd_);
    EXPECT_TRUE(AppendLog("registered again"));
    EXPECT_EQ(Log().substr(log.size() + 8), Text(kLogSeparator) + "registered again\r\n");
}

}  // namespace
