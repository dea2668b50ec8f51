#include "common/PumpingWait.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long long ElapsedMs(Clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

long long TimedWaitMs(int time, std::optional<int> unit) {
    auto start = Clock::now();
    EXPECT_TRUE(PumpingWait(time, unit));
    return ElapsedMs(start);
}

constexpr UINT kMsgProbe = WM_APP + 1;

// A real window on the test thread that records when it handled a probe message.
class ProbeWindow {
public:
    ProbeWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "EkPumpingWaitProbe";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowA("EkPumpingWaitProbe", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ProbeWindow() { DestroyWindow(hwnd_); }

    HWND Hwnd() const { return hwnd_; }
    int Handled() const { return handled_; }
    Clock::time_point LastHandled() const { return lastHandled_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<ProbeWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (msg == kMsgProbe && self) {
            ++self->handled_;
            self->lastHandled_ = Clock::now();
            return 42;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }

    HWND hwnd_ = nullptr;
    int handled_ = 0;
    Clock::time_point lastHandled_{};
};

}  // namespace

TEST(PumpingWaitTest, DueTimeFollowsTheUnitTable) {
    struct Case {
        const char* name;
        int time;
        std::optional<int> unit;
        long long expected;
    };
    const Case cases[] = {
        {"milliseconds by default", 1, std::nullopt, -10000LL},
        {"unit 0 is milliseconds", 250, 0, -2500000LL},
        {"seconds", 2, 1, -20000000LL},
        {"minutes", 1, 2, -600000000LL},
        {"hours", 1, 3, -36000000000LL},
        {"other unit is the multiplier", 3, 7, -210000LL},
        {"product beyond 32 bits", 1000000, 3, -36000000000000000LL},
        {"zero", 0, std::nullopt, 0LL},
        {"negative time waits nothing", -5, std::nullopt, 0LL},
        {"negative multiplier waits nothing", 4, -2, 0LL},
        {"too long to express is held", INT_MAX, 3, -LLONG_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PumpingWaitDueTime(c.time, c.unit), c.expected);
    }
}

TEST(PumpingWaitTest, WaitOnAWorkerLastsAtLeastTheRequestedTime) {
    long long elapsed = 0;
    std::thread([&] { elapsed = TimedWaitMs(100, std::nullopt); }).join();
    EXPECT_GE(elapsed, 100);
    EXPECT_LT(elapsed, 5000);
}

TEST(PumpingWaitTest, ZeroReturnsAtOnce) {
    EXPECT_LT(TimedWaitMs(0, std::nullopt), 1000);
    EXPECT_LT(TimedWaitMs(0, 3), 1000);
}

TEST(PumpingWaitTest, UnitsScaleTheWait) {
    struct Case {
        const char* name;
        int time;
        std::optional<int> unit;
        long long atLeastMs;
    };
    const Case cases[] = {
        {"unit 0", 30, 0, 30},
        {"multiplier 40", 3, 40, 120},
        {"one second", 1, 1, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        long long elapsed = TimedWaitMs(c.time, c.unit);
        EXPECT_GE(elapsed, c.atLeastMs);
        EXPECT_LT(elapsed, c.atLeastMs + 5000);
    }
}

TEST(PumpingWaitTest, WindowKeepsHandlingMessagesDuringTheWait) {
    ProbeWindow window;
    ASSERT_NE(window.Hwnd(), nullptr);

    std::atomic<LRESULT> sentAnswer{0};
    std::thread sender([&] {
        Sleep(50);
        PostMessageA(window.Hwnd(), kMsgProbe, 0, 0);
        DWORD_PTR answer = 0;
        // The timeout only keeps a broken wait from hanging the test.
        if (SendMessageTimeoutA(window.Hwnd(), kMsgProbe, 0, 0, SMTO_NORMAL, 5000, &answer))
            sentAnswer = static_cast<LRESULT>(answer);
    });

    auto start = Clock::now();
    PumpingWait(400);
    auto waitEnded = Clock::now();
    sender.join();

    EXPECT_GE(ElapsedMs(start), 400);
    EXPECT_EQ(window.Handled(), 2);
    EXPECT_EQ(sentAnswer.load(), 42);
    EXPECT_LT(window.LastHandled(), waitEnded);
}

TEST(PumpingWaitTest, QuitRequestOutlivesTheWait) {
    ProbeWindow window;
    PostMessageA(window.Hwnd(), kMsgProbe, 0, 0);
    PostQuitMessage(7);
    long long elapsed = TimedWaitMs(60, std::nullopt);

    EXPECT_GE(elapsed, 60);
    EXPECT_EQ(window.Handled(), 1);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(PumpingWaitTest, ProcessPendingMessagesDispatchesAllAndKeepsTheQuit) {
    ProbeWindow window;
    PostMessageA(window.Hwnd(), kMsgProbe, 0, 0);
    PostMessageA(window.Hwnd(), kMsgProbe, 0, 0);
    PostQuitMessage(3);
    ProcessPendingMessages();

    EXPECT_EQ(window.Handled(), 2);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(PumpingWaitTest, WaitForObjectEndsWhenTheObjectIsSignalled) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    std::thread signaller([&] {
        Sleep(50);
        SetEvent(event);
    });
    auto start = Clock::now();
    EXPECT_TRUE(PumpingWaitFor(event, 20000));
    EXPECT_LT(ElapsedMs(start), 10000);
    signaller.join();
    CloseHandle(event);
}

TEST(PumpingWaitTest, WaitForObjectRunsOutWhenNothingHappens) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    ProbeWindow window;
    std::thread poster([&] {
        Sleep(30);
        PostMessageA(window.Hwnd(), kMsgProbe, 0, 0);
    });
    auto start = Clock::now();
    EXPECT_FALSE(PumpingWaitFor(event, 150));
    EXPECT_GE(ElapsedMs(start), 150);
    poster.join();
    EXPECT_EQ(window.Handled(), 1);
    CloseHandle(event);
}
