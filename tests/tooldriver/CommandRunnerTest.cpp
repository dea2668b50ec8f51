#include "tooldriver/CommandRunner.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "common/WinHandles.h"
#include "common/portable/StopSignal.h"
#include "common/portable/TextOps.h"
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

// Runs the command on a thread of its own, with `signal` (a new one when null) as that thread's
// stop signal. A run that has not ended after `limitMs` is stopped through the signal, so a
// runner that never ends fails the test instead of hanging it.
struct GuardedRun {
    Text output;
    long long elapsedMs = 0;
    bool timedOut = false;
};

GuardedRun RunGuarded(const Text& command,
                      const ChunkObserver* observer = nullptr,
                      bool notifyChunks = false,
                      DWORD limitMs = 30000,
                      StopSignalPtr signal = nullptr) {
    GuardedRun run;
    if (!signal)
        signal = std::make_shared<StopSignal>();
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

// The values the next handles opened in this process would get, sorted. Enough of them that
// every handle a run opens at once falls among them.
std::vector<HANDLE> NextHandleValues() {
    std::vector<UniqueHandle> events;
    std::vector<HANDLE> values;
    for (int i = 0; i < 64; ++i) {
        events.emplace_back(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        values.push_back(events.back().get());
    }
    std::sort(values.begin(), values.end());
    return values;
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
        {"zero bytes are left out, what follows them is kept", "out:ab\\0cd\\0\\0 sleep:400 out:\\0ef", "abcdef"},
        {"a listing line after a zero byte", "out:Entries\\r\\n\\01\\tone\\r\\n", "Entries\r\n1\tone\r\n"},
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
    // A window on the calling thread. The child writes slowly and, at three points of its output,
    // waits until another thread has had an answer from the window: it can only finish, and the
    // run only end, when the window answered while the run was still waiting for the child.
    HWND window = CreateWindowA("STATIC", "before", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ScratchFolder scratch;
    constexpr int kAsks = 3;
    Text actions;
    for (int k = 1; k <= kAsks; ++k) {
        const Text n = std::to_string(k);
        actions += "slow:3:100:tick\\n touch:" + Quoted(scratch.File("asking-" + n)) +
                   " wait:" + Quoted(scratch.File("answered-" + n)) + " ";
    }
    actions += "out:end";

    std::vector<bool> answered(kAsks, false);
    std::thread asker([&] {
        for (int k = 1; k <= kAsks; ++k) {
            const Text n = std::to_string(k);
            for (int i = 0; i < 3000 && !FileExists(scratch.File("asking-" + n)); ++i)
                Sleep(10);
            // The window's thread is inside the run now. Long enough never to be a matter of
            // speed; the run does not end before this answer (or this time) has come.
            DWORD_PTR result = 0;
            const Text text = "answer " + n;
            answered[k - 1] = SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                                  SMTO_NORMAL, 20000, &result) != 0;
            WriteWholeFile(scratch.File("answered-" + n), n);
        }
    });

    Text output = RunConsoleCommand(Child(actions));
    asker.join();
    char text[32] = {};
    GetWindowTextA(window, text, sizeof(text));
    DestroyWindow(window);

    Text expected;
    for (int i = 0; i < 3 * kAsks; ++i)
        expected += "tick\n";
    EXPECT_EQ(output, expected + "end");
    EXPECT_EQ(answered, std::vector<bool>(kAsks, true));
    EXPECT_STREQ(text, "answer 3");
}

TEST(CommandRunnerTest, LeavesNoHandleOpen) {
    // Under this platform the process's handle count always reads 0, so the test watches the
    // handle values instead: a new handle takes a free slot of the process's table, so the
    // values the next handles get come back the same after the runs unless a handle the runs
    // opened is still open in one of those slots.
    ChunkObserver stopAtOnce = [](const Text&, int, int) { return 1; };
    auto runAll = [&] {
        RunConsoleCommand(Child("out:one err:two"));
        RunConsoleCommand(Child("out:one sleep:300 out:two"), &stopAtOnce, true);
        RunConsoleCommand(Child("out:x ") + Text(40000, 'y'));
        RunConsoleCommand("\"Z:\\no\\such\\program.exe\"");
        RunConsoleCommand(Child("exit:3"));
    };
    // The first runs create what the process keeps for good (console, library state).
    runAll();
    const std::vector<HANDLE> before = NextHandleValues();
    runAll();
    EXPECT_EQ(NextHandleValues(), before);
}

TEST(CommandRunnerTest, FinalOutputOfAChildThatEndsAtOnceIsNeverLost) {
    // The child's last bytes can reach the pipe just after an empty look and just before the
    // runner asks whether the child has ended. Real children hit that moment only rarely
    // (CaptureLoopTest plays it on every run); these many runs, some side by side, keep the
    // runner honest against the real pipe and process with children ending at every point of
    // the polling.
    constexpr int kThreads = 4;
    constexpr int kRunsPerThread = 50;
    std::atomic<int> lost{0};
    std::mutex firstLossLock;
    Text firstLoss;
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
                const Text output = RunConsoleCommand(command);
                if (output != expected && lost++ == 0) {
                    std::lock_guard<std::mutex> hold(firstLossLock);
                    firstLoss = command + " gave [" + output + "]";
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(lost.load(), 0) << "first: " << firstLoss;
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

TEST(CommandRunnerTest, AChildThatWritesAfterTheCaptureStoppedEndsByItself) {
    // The child writes far more than a pipe holds, and only once the capture has stopped: with
    // no reader left anywhere its writes fail and it ends; a reader kept open in the child (or
    // in the command interpreter) would block it for ever.
    struct Case {
        const char* name;
        bool bySignal;  // the thread's stop signal, else the observer's nonzero answer
    };
    const Case cases[] = {{"observer stops", false}, {"stop signal", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const Text pidFile = scratch.File("child.pid");
        const Text go = scratch.File("go");
        auto signal = std::make_shared<StopSignal>();
        ChunkObserver stopAtFirst = [&](const Text&, int, int) {
            if (!c.bySignal)
                return 1;
            signal->Request();
            return 0;
        };
        GuardedRun run =
            RunGuarded(Child("pid:" + Quoted(pidFile) + " out:started wait:" + Quoted(go) + " bulk:1000000"),
                       &stopAtFirst, true, 30000, signal);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.output, c.bySignal ? "started" : "");

        const DWORD childId = static_cast<DWORD>(std::atoi(ReadWholeFile(pidFile).c_str()));
        ASSERT_NE(childId, 0u);
        UniqueHandle child(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, childId));
        ASSERT_TRUE(child);
        ASSERT_TRUE(WriteWholeFile(go, "go"));
        const bool ended = WaitForSingleObject(child.get(), 10000) == WAIT_OBJECT_0;
        EXPECT_TRUE(ended) << "the child still runs 10 s after the capture stopped";
        if (!ended)
            TerminateProcess(child.get(), 1);
    }
}

namespace {

// Whether the process whose id is written in `pidFile` still runs.
bool StillRuns(const Text& pidFile) {
    const DWORD id = static_cast<DWORD>(TextToInt(ReadWholeFile(pidFile)));
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    return id != 0 && process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

void EndByPidFile(const Text& pidFile) {
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(TextToInt(ReadWholeFile(pidFile)))));
    if (process)
        TerminateProcess(process.get(), 1);
}

CommandWatch Watch(CommandWatch::Keeping keeping, int hangSeconds, const Text& growingFile = Text()) {
    CommandWatch watch;
    watch.keeping = keeping;
    watch.hangSeconds = hangSeconds;
    watch.growingFile = growingFile;
    return watch;
}

}  // namespace

// The interpreter hands on the code its command ended with, and the capture is the same as ever.
TEST(CommandRunnerTest, TheExitCodeOfTheCommandIsHandedOn) {
    struct Case {
        const char* name;
        Text command;
        uint32_t exitCode;
        Text output;
    };
    const Case cases[] = {
        {"success", Child("out:a exit:0"), 0, "a"},
        {"a failure", Child("out:b exit:1"), 1, "b"},
        {"the largest one-byte code", Child("exit:255"), 255, ""},
        {"a crash's code", Child("err:c exit:-1073741819"), 0xC0000005u, "c"},
        {"a program that is not there", "\"" + BuiltProgramFolder() + "\\no such program.exe\"", 9009, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Capture capture = CaptureConsoleCommand(c.command);
        EXPECT_EQ(capture.end, CaptureEnd::ChildEnded);
        EXPECT_EQ(capture.exitCode, c.exitCode);
        if (c.exitCode != 9009) {
            EXPECT_EQ(capture.output, c.output);
        }
    }
}

// The interpreter's console has no window at all: on systems whose default terminal is a program
// of its own, a console hidden only by its show state has shown up as a window that ends the tool
// when closed. (A program without a console, as Entry Keeper is, gives its child a new console.)
TEST(CommandRunnerTest, TheCommandsConsoleHasNoWindow) {
    FreeConsole();
    const Capture capture = CaptureConsoleCommand(Child("conwin out:done exit:7"));
    EXPECT_EQ(capture.output, "no console window\ndone");
    EXPECT_EQ(capture.exitCode, 7u);
}

// Which commands count as hung: only a watched one, and only while it prints nothing and its file
// does not grow.
TEST(CommandRunnerTest, OnlyAWatchedCommandThatShowsNoLifeIsHung) {
    ScratchFolder scratch;
    const Text file = scratch.File("growing.bin");
    using Keeping = CommandWatch::Keeping;
    struct Case {
        const char* name;
        Text actions;
        CommandWatch watch;
        CaptureEnd end;
    };
    const Case cases[] = {
        {"a plain command has no limit", "sleep:2500 out:x", Watch(Keeping::Plain, 1), CaptureEnd::ChildEnded},
        {"a limit of 0 is none", "sleep:2500 out:x", Watch(Keeping::OwnJob, 0), CaptureEnd::ChildEnded},
        {"output keeps it alive", "slow:6:400:x", Watch(Keeping::OwnJob, 1), CaptureEnd::ChildEnded},
        {"a growing file keeps it alive", "grow:" + file + ":6:400", Watch(Keeping::OwnJob, 1, file),
         CaptureEnd::ChildEnded},
        {"silence is hung", "out:x sleep:20000", Watch(Keeping::OwnJob, 1), CaptureEnd::Hung},
        {"a file that stops growing is hung", "grow:" + file + ":1:0 sleep:20000", Watch(Keeping::OwnJob, 1, file),
         CaptureEnd::Hung},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(file.c_str());
        const auto start = Clock::now();
        const Capture capture = CaptureConsoleCommand(Child(c.actions), nullptr, false, c.watch);
        EXPECT_EQ(capture.end, c.end);
        EXPECT_LT(ElapsedMs(start), 15000);
    }
}

// A hung listing or backup is ended with everything it started: through its own job, or, where the
// job could not be assigned (before Windows 8 in a job of the program's own), by process ids.
TEST(CommandRunnerTest, AHungCommandInItsOwnJobIsEndedWithEverythingItStarted) {
    for (const bool jobRefused : {false, true}) {
        SCOPED_TRACE(jobRefused ? "ended by process ids" : "ended through its job");
        ScratchFolder scratch;
        const Text pidFile = scratch.File("pid.txt");
        RefuseJobAssignmentForTests(jobRefused);
        const Capture capture = CaptureConsoleCommand(Child("pid:\"" + pidFile + "\" out:begun hang"), nullptr, false,
                                                      Watch(CommandWatch::Keeping::OwnJob, 1));
        RefuseJobAssignmentForTests(false);
        EXPECT_EQ(capture.end, CaptureEnd::Hung);
        EXPECT_EQ(capture.output, "begun");
        EXPECT_FALSE(capture.leftRunning);
        const Text ended = ::testing::PrintToString(capture.processesEnded);
        EXPECT_NE(ended.find("ekchild.exe ("), Text::npos) << ended;
        EXPECT_NE(ended.find("cmd.exe ("), Text::npos) << ended;
        EXPECT_FALSE(StillRuns(pidFile)) << "the tool under the interpreter was ended too";
    }
}

// A hung restore or create writes the tool's own store: it is never ended, only given up on.
TEST(CommandRunnerTest, AHungCommandKeptOutsideJobsIsLeftRunning) {
    ScratchFolder scratch;
    const Text pidFile = scratch.File("pid.txt");
    const Capture capture = CaptureConsoleCommand(Child("pid:\"" + pidFile + "\" hang"), nullptr, false,
                                                  Watch(CommandWatch::Keeping::OutsideJobs, 1));
    EXPECT_EQ(capture.end, CaptureEnd::Hung);
    EXPECT_TRUE(capture.processesEnded.empty());
    ASSERT_TRUE(capture.leftRunning);
    EXPECT_TRUE(StillRuns(pidFile));
    EXPECT_FALSE(capture.leftRunning->WaitForEnd(200));
    EndByPidFile(pidFile);
    EXPECT_TRUE(capture.leftRunning->WaitForEnd(10000)) << "the interpreter ends with its command";
}
