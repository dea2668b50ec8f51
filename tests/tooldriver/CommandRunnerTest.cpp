#include "tooldriver/CommandRunner.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "common/StopSignal.h"
#include "common/WinHandles.h"
#include "tests/support/TestPaths.h"

namespace {

using Clock = std::chrono::steady_clock;

long long ElapsedMs(Clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

Text Quoted(const Text& text) {
    return "\"" + text + "\"";
}

// A command line that starts the helper child with the given actions.
Text Child(const Text& actions) {
    return Quoted(BuiltProgramPath("ekchild.exe")) + " " + actions;
}

// Runs the command on a thread of its own. A run that has not ended after `limitMs` is stopped
// through its stop signal, so a runner that never ends fails the test instead of hanging it.
struct GuardedRun {
    Text output;
    long long elapsedMs = 0;
    bool timedOut = false;
};

GuardedRun RunGuarded(const Text& command, const ChunkObserver* observer = nullptr, bool notifyChunks = false,
                      DWORD limitMs = 30000) {
    GuardedRun run;
    auto signal = std::make_shared<StopSignal>();
    UniqueHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    auto start = Clock::now();
    std::thread worker([&] {
        ScopedThreadStopSignal scope(signal);
        run.output = RunConsoleCommand(command, observer, notifyChunks);
        SetEvent(done.get());
    });
    if (WaitForSingleObject(done.get(), limitMs) != WAIT_OBJECT_0) {
        run.timedOut = true;
        signal->Request();
    }
    worker.join();
    run.elapsedMs = ElapsedMs(start);
    return run;
}

Text DigitPattern(size_t length) {
    Text text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>('0' + i % 10);
    return text;
}

}  // namespace

TEST(CommandRunnerTest, CapturesWhatTheChildWrites) {
    struct Case {
        const char* name;
        Text actions;
        Text expected;
    };
    const Case cases[] = {
        {"both streams, in arrival order", "out:one\\n err:two\\n out:three\\n err:four", "one\ntwo\nthree\nfour"},
        {"double-byte bytes pass unconverted", "out:\\xD6\\xD0\\xCE\\xC4\\r\\n", "\xD6\xD0\xCE\xC4\r\n"},
        {"a zero byte cuts its own chunk only", "out:ab\\0cd sleep:400 out:ef", "abef"},
        {"a lot of output", "bulk:1000000", DigitPattern(1000000)},
        {"exit right after writing", "out:last exit:0", "last"},
        {"child ending with the still-active code", "out:x exit:259", "x"},
        {"nothing written", "sleep:10", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GuardedRun run = RunGuarded(Child(c.actions));
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.output, c.expected);
    }
}

TEST(CommandRunnerTest, QuotedProgramAndQuotedArgumentsReachTheChildIntact) {
    // A program path with a space and double-byte text, then arguments that the command
    // interpreter would take as operators outside quotes.
    ScratchFolder scratch;
    ASSERT_FALSE(scratch.Path().empty());
    Text folder = scratch.File("my tools \xD6\xD0\xCE\xC4");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    Text program = folder + "\\ekchild.exe";
    ASSERT_TRUE(CopyFileA(BuiltProgramPath("ekchild.exe").c_str(), program.c_str(), FALSE));

    const Text arguments[] = {"a b", "x & y", "c^d", "(p) | q", "<in> out", "bang!", "\xD6\xD0\xCE\xC4 text", "@at"};
    struct Case {
        const char* name;
        Text programPart;
    };
    const Case cases[] = {
        {"quoted program with a space", Quoted(program)},
        {"plain program path", Quoted(BuiltProgramPath("ekchild.exe"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Text command = c.programPart + " args";
        Text expected = "[args]\n";
        for (const Text& argument : arguments) {
            command += " " + Quoted(argument);
            expected += "[" + argument + "]\n";
        }
        GuardedRun run = RunGuarded(command);
        EXPECT_EQ(run.output, expected);
    }
}

TEST(CommandRunnerTest, CommandThatCannotStartGivesEmptyTextPromptly) {
    // Longer than any process command line may be: the launch itself fails.
    Text tooLong = Child("out:x ") + Text(40000, 'y');
    GuardedRun run = RunGuarded(tooLong);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.output, "");
    EXPECT_LT(run.elapsedMs, 5000);
}

TEST(CommandRunnerTest, ObserverSeesChunksAndCanStopTheCapture) {
    struct Case {
        const char* name;
        bool notifyChunks;
        int stopAtCall;  // 0: never stop
        Text expected;
        bool expectCalls;
    };
    const Case cases[] = {
        {"stop on the first chunk", true, 1, "", true},
        {"stop on the second chunk keeps the first", true, 2, "alpha", true},
        {"always zero changes nothing", true, 0, "alphabeta", true},
        {"not notified, never called", false, 1, "alphabeta", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int calls = 0;
        Text seen;
        ChunkObserver observer = [&](const Text& chunk, int one, int zero) {
            ++calls;
            EXPECT_EQ(one, 1);
            EXPECT_EQ(zero, 0);
            seen += chunk;
            return calls == c.stopAtCall ? 1 : 0;
        };
        GuardedRun run = RunGuarded(Child("out:alpha sleep:500 out:beta"), &observer, c.notifyChunks);
        EXPECT_EQ(run.output, c.expected);
        EXPECT_EQ(calls > 0, c.expectCalls);
        if (c.stopAtCall == 0 && c.notifyChunks) {
            EXPECT_EQ(seen, run.output);
        }
    }
}

TEST(CommandRunnerTest, NullObserverWithNotifyChunksCapturesAll) {
    EXPECT_EQ(RunGuarded(Child("out:alpha"), nullptr, true).output, "alpha");
}

TEST(CommandRunnerTest, SlowOutputArrivesWholeWhileTheWindowStaysResponsive) {
    // A window on the calling thread; another thread keeps asking it for an answer.
    HWND window = CreateWindowA("STATIC", "before", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    std::atomic<bool> running{true};
    std::atomic<int> answered{0};
    std::atomic<int> missed{0};
    std::thread asker([&] {
        while (running) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("during"), SMTO_NORMAL, 1000,
                                    &result))
                ++answered;
            else
                ++missed;
            Sleep(100);
        }
    });

    auto start = Clock::now();
    Text output = RunConsoleCommand(Child("slow:10:300:tick\\n"));
    long long elapsed = ElapsedMs(start);
    running = false;
    asker.join();
    DestroyWindow(window);

    Text expected;
    for (int i = 0; i < 10; ++i)
        expected += "tick\n";
    EXPECT_EQ(output, expected);
    EXPECT_GE(elapsed, 2700);
    EXPECT_GE(answered.load(), 10);
    EXPECT_EQ(missed.load(), 0);
}

TEST(CommandRunnerTest, LeavesNoHandleOpen) {
    // The first call creates what the process keeps for good (console, library state).
    RunConsoleCommand(Child("out:warm"));
    DWORD before = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));

    ChunkObserver stopAtOnce = [](const Text&, int, int) { return 1; };
    RunConsoleCommand(Child("out:one err:two"));
    RunConsoleCommand(Child("out:one sleep:300 out:two"), &stopAtOnce, true);
    RunConsoleCommand(Child("out:x ") + Text(40000, 'y'));
    RunConsoleCommand("\"Z:\\no\\such\\program.exe\"");
    RunConsoleCommand(Child("exit:3"));

    DWORD after = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
    EXPECT_EQ(after, before);
}

TEST(CommandRunnerTest, FinalOutputOfAChildThatEndsAtOnceIsNeverLost) {
    // The child's last bytes can reach the pipe just after an empty look and just before the
    // runner asks whether the child has ended; many runs, some side by side, make that moment
    // likely to occur.
    constexpr int kThreads = 4;
    constexpr int kRunsPerThread = 50;
    std::atomic<int> lost{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRunsPerThread; ++i) {
                // The interpreter's own echo ends right after writing; the helper child sleeps a
                // varying moment first, so its end falls at different points of the polling.
                Text words = "last-words-" + std::to_string(t);
                bool byEcho = i % 2 == 0;
                Text command = byEcho ? "echo " + words : Child("sleep:" + std::to_string(i % 7) + " out:" + words);
                Text expected = byEcho ? words + "\r\n" : words;
                if (RunConsoleCommand(command) != expected)
                    ++lost;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(lost.load(), 0);
}

TEST(CommandRunnerTest, StopSignalEndsTheCaptureWhileTheChildRunsOn) {
    ScratchFolder scratch;
    Text started = scratch.File("child-started");
    Text finished = scratch.File("child-finished");
    auto signal = std::make_shared<StopSignal>();
    std::thread stopper([&] {
        for (int i = 0; i < 300 && !FileExists(started); ++i)
            Sleep(50);
        Sleep(300);  // time for the runner to read what came before
        signal->Request();
    });

    Text output;
    auto start = Clock::now();
    {
        ScopedThreadStopSignal scope(signal);
        output = RunConsoleCommand(
            Child("out:started touch:" + Quoted(started) + " sleep:4000 touch:" + Quoted(finished) + " out:done"));
    }
    long long elapsed = ElapsedMs(start);
    stopper.join();

    EXPECT_EQ(output, "started");
    EXPECT_FALSE(FileExists(finished)) << "the capture should have ended before the child";
    bool childFinished = false;
    for (int i = 0; i < 150 && !childFinished; ++i) {
        Sleep(100);
        childFinished = FileExists(finished);
    }
    EXPECT_TRUE(childFinished) << "the child should have run on to its end (capture took " << elapsed << " ms)";
}
