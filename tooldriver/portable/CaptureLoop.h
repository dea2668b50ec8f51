#pragma once
// The decisions of the hidden command runner (CommandRunner.h), apart from the pipe and the child
// process they are about: when to look at the pipe, what to keep of what it held, when the
// capture is over. The runner plays them against its real pipe and child; tests play them against
// a scripted source, so that every order of events (bytes arriving just before the child's end
// is noticed, a stop between two looks) can be tried and tried again.
//
// Platform-free. The loop runs on the calling thread and touches nothing but `source`, the
// observer and its own result.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/portable/CommandRunnerFn.h"
#include "common/portable/Text.h"

// What the loop looks at, reads from and waits on.
class CaptureSource {
public:
    virtual ~CaptureSource() = default;
    // How many bytes wait in the pipe, without taking them; 0 when none (or the look failed).
    virtual size_t Available() = 0;
    // Takes up to `count` of the bytes a look reported; fewer, or none, when the read fails.
    virtual Text Read(size_t count) = 0;
    // True once the child has ended. Bytes it wrote before its end may still wait in the pipe.
    virtual bool ChildEnded() = 0;
    // True when the capture must end now, whatever the child does (the thread's stop signal).
    virtual bool StopRequested() = 0;
    // Waits up to `milliseconds` before the next look, keeping the thread's window messages
    // flowing; the child's end may cut the wait short.
    virtual void Pause(int milliseconds) = 0;
    // Milliseconds on a clock that never goes back; only asked when a hang limit is given.
    virtual int64_t NowMs() { return 0; }
    // The size of the file the child was told to write, whose growth counts as a sign of life as
    // its output does; -1 when it watches no file (or the file is not there yet).
    virtual int64_t WatchedFileSize() { return -1; }
};

// How a capture ended.
enum class CaptureEnd {
    // The child ended and the pipe was found empty after that: the output is all it wrote.
    ChildEnded,
    // The observer answered nonzero; the chunk it was shown is not in the output.
    ObserverStopped,
    // The stop was requested before the child's end was seen.
    StopRequested,
    // The command could not be started (the runner's own outcome; the loop never gives it).
    NotStarted,
    // The child printed nothing, and its watched file did not grow, for the hang limit: the
    // capture gave up on it. (The runner then ends it, or leaves it running; Capture says which.)
    Hung,
};

// A child process the runner gave up on as hung and left running, for whoever must wait for it.
class RunningProcess {
public:
    virtual ~RunningProcess() = default;
    // Waits up to `milliseconds` (-1: for ever) for the process to end; true once it has ended.
    virtual bool WaitForEnd(int milliseconds) const = 0;
};

struct Capture {
    Text output;
    CaptureEnd end = CaptureEnd::NotStarted;
    // With ChildEnded: the code the child ended with (the runner's; the loop leaves it 0).
    uint32_t exitCode = 0;
    // With Hung, when the runner ended the child with everything it started: each process ended,
    // as "name (process id)"; empty when it left the child running or could end nothing.
    TextArray processesEnded;
    // With Hung, when the runner left the child running: the child.
    std::shared_ptr<const RunningProcess> leftRunning;
    // The program runs in a job that refused to let this child break away from it, so the child
    // was started in that job after all (the runner's; only for a child meant to outlive jobs).
    bool breakawayRefused = false;
};

// Looks at the pipe until the child has ended and the pipe is empty, or until a stop. Every read
// is one chunk: its zero bytes are dropped (ChunkText), the observer is shown it when
// `notifyChunks` is true and `observer` is given, and it is appended to the output unless the
// observer answered nonzero. After a look that found nothing the loop asks whether the child has
// ended; when it has, it looks once more before leaving, since the child's last bytes may have
// reached the pipe between the empty look and its end.
// With `hangMs` above 0 the capture ends as Hung once the child has printed nothing and its watched
// file has not grown for at least that long (the file is looked at only when the limit is reached,
// so a child that wrote early in that time may be given up to twice the limit).
Capture RunCaptureLoop(CaptureSource& source, const ChunkObserver* observer, bool notifyChunks,
                       int64_t hangMs = 0);

// The text of one chunk of the child's output: its bytes in order with every zero byte left out.
// A zero byte is no character of the ANSI code page; leaving it out keeps everything the child
// wrote after it (a listing's later lines among it), and a stand-in character would become part
// of whatever field it stood in (a number "?2" reads as no number).
Text ChunkText(Text bytes);
