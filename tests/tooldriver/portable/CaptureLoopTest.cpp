// The runner's capture decisions played against a scripted pipe and child: the orders of events
// that a real child produces only now and then (its last bytes landing between an empty look and
// the question whether it has ended, a stop between two looks) happen here on every run.

#include "tooldriver/portable/CaptureLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A pipe and a child whose behaviour the test scripts: `pipe` holds what the child has written
// and nobody has read yet; the hooks let the child act at the moments the loop looks.
struct ScriptedSource : CaptureSource {
    Text pipe;
    bool ended = false;
    bool stop = false;
    bool readsFail = false;
    // Run when the loop asks whether the child has ended (before the answer), and at each pause
    // with its number counted from 1.
    std::function<void(ScriptedSource&)> onEndAsked;
    std::function<void(ScriptedSource&, int)> onPause;

    int pauses = 0;
    int looks = 0;
    bool ranAway = false;
    bool readPastLook = false;

    // A clock that moves only with the pauses, and the size of the child's watched file.
    int64_t nowMs = 0;
    int64_t fileSize = -1;
    int64_t NowMs() override { return nowMs; }
    int64_t WatchedFileSize() override { return fileSize; }

    size_t Available() override { return pipe.size(); }
    Text Read(size_t count) override {
        readPastLook = readPastLook || count > pipe.size();
        if (readsFail)
            return Text();
        Text taken = pipe.substr(0, count);
        pipe.erase(0, taken.size());
        return taken;
    }
    bool ChildEnded() override {
        if (onEndAsked)
            onEndAsked(*this);
        return ended;
    }
    bool StopRequested() override {
        // A loop that never ends would hang the test: end it and say so.
        ranAway = ranAway || ++looks > 10000;
        return stop || ranAway;
    }
    void Pause(int milliseconds) override {
        nowMs += milliseconds;
        ++pauses;
        if (onPause)
            onPause(*this, pauses);
    }
};

// Writes `text` into the pipe and ends the child, once.
std::function<void(ScriptedSource&)> WriteThenEnd(Text text) {
    return [text](ScriptedSource& s) {
        if (!s.ended) {
            s.pipe += text;
            s.ended = true;
        }
    };
}

// A script for the source and the output the capture must give under it.
struct ScriptCase {
    const char* name;
    std::function<void(ScriptedSource&)> script;
    Text expected;
};

// Plays `c` without an observer: the capture must end as `end` with the case's output, having
// read no more than each look reported and, when the child's end was seen, left nothing unread.
void PlayAndCheck(const ScriptCase& c, CaptureEnd end) {
    SCOPED_TRACE(c.name);
    ScriptedSource source;
    c.script(source);
    Capture capture = RunCaptureLoop(source, nullptr, false);
    EXPECT_FALSE(source.ranAway);
    EXPECT_FALSE(source.readPastLook);
    EXPECT_EQ(capture.end, end);
    EXPECT_EQ(capture.output, c.expected);
    if (end == CaptureEnd::ChildEnded) {
        EXPECT_EQ(source.pipe, "") << "bytes were left in the pipe";
    }
}

}  // namespace

TEST(CaptureLoopTest, EverythingTheChildWroteBeforeItsEndIsKept) {
    const ScriptCase cases[] = {
        {"the last bytes arrive between an empty look and the question whether it ended",
         [](ScriptedSource& s) { s.onEndAsked = WriteThenEnd("last words"); }, "last words"},
        {"earlier output, then the last bytes arrive as the end is asked about",
         [](ScriptedSource& s) {
             s.pipe = "first ";
             s.onPause = [](ScriptedSource& t, int n) {
                 if (n == 3)
                     t.pipe += "second ";
             };
             s.onEndAsked = [](ScriptedSource& t) {
                 if (t.pauses >= 5)
                     WriteThenEnd("third")(t);
             };
         },
         "first second third"},
        {"written and ended before the first look",
         [](ScriptedSource& s) {
             s.pipe = "all at once";
             s.ended = true;
         },
         "all at once"},
        {"ended without writing", [](ScriptedSource& s) { s.ended = true; }, ""},
    };
    for (const ScriptCase& c : cases)
        PlayAndCheck(c, CaptureEnd::ChildEnded);
}

TEST(CaptureLoopTest, AStopEndsTheCaptureWithWhatWasReadBeforeIt) {
    const ScriptCase cases[] = {
        {"stop before the first look",
         [](ScriptedSource& s) {
             s.pipe = "unread";
             s.stop = true;
         },
         ""},
        {"stop during the pause after a chunk",
         [](ScriptedSource& s) {
             s.pipe = "read";
             s.onPause = [](ScriptedSource& t, int) {
                 t.pipe += " not read";
                 t.stop = true;
             };
         },
         "read"},
        {"stop while the child's end is being noticed",
         [](ScriptedSource& s) {
             s.pipe = "read";
             s.onEndAsked = [](ScriptedSource& t) {
                 t.stop = true;
                 WriteThenEnd(" not read")(t);
             };
         },
         "read"},
    };
    for (const ScriptCase& c : cases)
        PlayAndCheck(c, CaptureEnd::StopRequested);
}

TEST(CaptureLoopTest, ZeroBytesAreLeftOutAndWhatFollowsThemIsKept) {
    // A listing whose second line begins with a zero byte, then chunks of zero bytes alone and
    // around a double-byte character.
    const Text zero(1, '\0');
    const std::vector<Text> written = {"Entries\r\n" + zero + "1\tfirst\r\n2\tsecond\r\n", zero + zero,
                                       zero + "\xD6\xD0" + zero + "x"};
    ScriptedSource source;
    source.pipe = written[0];
    source.onPause = [&](ScriptedSource& s, int n) {
        if (n < static_cast<int>(written.size()))
            s.pipe += written[static_cast<size_t>(n)];
        else
            s.ended = true;
    };
    std::vector<Text> seen;
    ChunkObserver observer = [&](const Text& chunk, int, int) {
        seen.push_back(chunk);
        return 0;
    };
    Capture capture = RunCaptureLoop(source, &observer, true);
    EXPECT_EQ(capture.end, CaptureEnd::ChildEnded);
    EXPECT_EQ(capture.output, "Entries\r\n1\tfirst\r\n2\tsecond\r\n\xD6\xD0x");
    EXPECT_EQ(seen, (std::vector<Text>{"Entries\r\n1\tfirst\r\n2\tsecond\r\n", "", "\xD6\xD0x"}));
}

TEST(CaptureLoopTest, TheObserverSeesEachChunkAndItsNonzeroAnswerEndsTheCapture) {
    struct Case {
        const char* name;
        bool notifyChunks;
        bool withObserver;
        int stopAtCall;  // 0: never
        Text expected;
        CaptureEnd end;
        int expectedCalls;
    };
    const Case cases[] = {
        {"stop at the first chunk keeps nothing", true, true, 1, "", CaptureEnd::ObserverStopped, 1},
        {"stop at the second chunk keeps the first", true, true, 2, "alpha", CaptureEnd::ObserverStopped, 2},
        {"answers of zero change nothing", true, true, 0, "alphabeta", CaptureEnd::ChildEnded, 2},
        {"not notified, never asked", false, true, 1, "alphabeta", CaptureEnd::ChildEnded, 0},
        {"notified without an observer", true, false, 0, "alphabeta", CaptureEnd::ChildEnded, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSource source;
        source.pipe = "alpha";
        source.onPause = [](ScriptedSource& s, int n) {
            if (n == 1)
                s.pipe += "beta";
            if (n == 2)
                s.ended = true;
        };
        int calls = 0;
        ChunkObserver observer = [&](const Text&, int one, int zero) {
            EXPECT_EQ(one, 1);
            EXPECT_EQ(zero, 0);
            return ++calls == c.stopAtCall ? 1 : 0;
        };
        Capture capture = RunCaptureLoop(source, c.withObserver ? &observer : nullptr, c.notifyChunks);
        EXPECT_EQ(capture.end, c.end);
        EXPECT_EQ(capture.output, c.expected);
        EXPECT_EQ(calls, c.expectedCalls);
    }
}

TEST(CaptureLoopTest, AReadThatFailsCountsAsAnEmptyLook) {
    // The pipe keeps reporting bytes that cannot be read; the child's end still ends the capture.
    ScriptedSource source;
    source.pipe = "stuck";
    source.readsFail = true;
    source.onPause = [](ScriptedSource& s, int n) { s.ended = n >= 3; };
    Capture capture = RunCaptureLoop(source, nullptr, false);
    EXPECT_FALSE(source.ranAway);
    EXPECT_EQ(capture.end, CaptureEnd::ChildEnded);
    EXPECT_EQ(capture.output, "");
}

// A child counts as hung only after the whole limit without a sign of life: output, or its file
// found grown. Anything it shows resets the time.
TEST(CaptureLoopTest, AChildIsHungOnlyAfterTheWholeLimitWithoutASignOfLife) {
    struct Case {
        const char* name;
        std::function<void(ScriptedSource&, int)> onPause;
        CaptureEnd end;
        int64_t atLeastMs;  // the capture lasted at least this long (clock of the pauses)
        int64_t atMostMs;
    };
    const Case cases[] = {
        {"silent from the start", nullptr, CaptureEnd::Hung, 1000, 1100},
        {"output every half limit, then silence",
         [](ScriptedSource& s, int) {
             if (s.nowMs % 500 < 16 && s.nowMs < 3000)
                 s.pipe += "x";
         },
         CaptureEnd::Hung, 3500, 4200},
        {"its file grows, then stops",
         [](ScriptedSource& s, int) {
             if (s.nowMs < 3000)
                 s.fileSize = s.nowMs;
         },
         CaptureEnd::Hung, 3500, 5200},
        {"its file grows until it ends",
         [](ScriptedSource& s, int) {
             s.fileSize = s.nowMs;
             s.ended = s.nowMs > 5000;
         },
         CaptureEnd::ChildEnded, 5000, 5100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSource source;
        source.onPause = c.onPause;
        const Capture capture = RunCaptureLoop(source, nullptr, false, 1000);
        EXPECT_FALSE(source.ranAway);
        EXPECT_EQ(capture.end, c.end);
        EXPECT_GE(source.nowMs, c.atLeastMs);
        EXPECT_LE(source.nowMs, c.atMostMs);
    }
    // Without a limit a silent child is waited for (here until the script gives up on the loop).
    ScriptedSource silent;
    RunCaptureLoop(silent, nullptr, false);
    EXPECT_TRUE(silent.ranAway);
}
