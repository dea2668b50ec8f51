#include "app/program/StartupToolTimeLimit.h"

#include "tooldriver/CommandRunner.h"

StartupToolTimeLimit::StartupToolTimeLimit(std::chrono::milliseconds wait) : scope_(state_->signal) {
    state_->signal->RequestAfter(wait);
}

StartupToolTimeLimit::~StartupToolTimeLimit() = default;

CommandCaptureFn StartupToolTimeLimit::Runner() const {
    return [state = state_](const Text& command, const ChunkObserver* observer, bool notifyChunks,
                            const CommandWatch& watch) {
        Capture capture = CaptureConsoleCommand(command, observer, notifyChunks, watch);
        // Only a stop by this limit's own signal means the tool kept start-up waiting; a pass's
        // stop later on is the user's.
        if (capture.end == CaptureEnd::StopRequested && CurrentThreadStopSignal() == state->signal)
            state->cutShort.store(true);
        return capture;
    };
}

bool StartupToolTimeLimit::ToolDidNotAnswer() const {
    return state_->cutShort.load();
}
