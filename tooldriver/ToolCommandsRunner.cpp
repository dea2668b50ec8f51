#include "tooldriver/ToolCommandsRunner.h"

#include <windows.h>

#include <mutex>
#include <utility>

#include "common/PumpingWait.h"
#include "common/portable/StopSignal.h"
#include "toollink/portable/ToolLocation.h"

namespace {

std::recursive_mutex& ToolDirLock() {
    // Never destroyed: a worker still running while the process exits may hold it.
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

}  // namespace

bool WithToolDirLocked(const std::function<void()>& step) {
    std::recursive_mutex& lock = ToolDirLock();
    while (!lock.try_lock()) {
        if (CurrentThreadShouldStop())
            return false;
        PumpingWait(1);
    }
    std::lock_guard<std::recursive_mutex> held(lock, std::adopt_lock);
    step();
    return true;
}

CommandRunnerFn RunningInToolDir(CommandRunnerFn runner) {
    return [runner = std::move(runner)](const Text& command, const ChunkObserver* observer, bool notifyChunks) -> Text {
        Text output;
        WithToolDirLocked([&] {
            ::SetCurrentDirectoryA(ToolDir().c_str());
            output = runner(command, observer, notifyChunks);
        });
        return output;
    };
}

CommandCaptureFn RunningInToolDir(CommandCaptureFn capture) {
    return [capture = std::move(capture)](const Text& command, const ChunkObserver* observer, bool notifyChunks,
                                          const CommandWatch& watch) -> Capture {
        Capture result;
        WithToolDirLocked([&] {
            ::SetCurrentDirectoryA(ToolDir().c_str());
            result = capture(command, observer, notifyChunks, watch);
        });
        return result;
    };
}
