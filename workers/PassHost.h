#pragma once
// PassHost: everything a backup or restore pass needs from the window, and nothing else, so the
// passes never see a window. The window gives each pass a host of its own (holding that pass's
// stop signal); tests give a fake that records what the pass did.
//
// Threads: every method is called on the pass's own worker thread. An implementation that reaches
// controls carries each access out on the window thread while the worker waits; the window
// thread must never wait for the worker. The pass holds its host by shared ownership, so a host
// outlives a pass that is still running when the program closes.
//
// Failures: nothing here reports failure. A control that cannot be read reads as empty text.

#include <memory>

#include "common/portable/StopSignal.h"
#include "common/portable/Text.h"
#include "tooldriver/portable/CaptureLoop.h"

// The pauses the passes ask their host for, in milliseconds: after every entry or manifest line,
// and after every record a restore passes over while looking for an entry in the tool's list.
inline constexpr int kEntryPauseMs = 100;
inline constexpr int kRecordPauseMs = 50;

// The buttons a pass enables and disables.
enum class PassButton { Start, Stop, Restore };

class PassHost {
public:
    virtual ~PassHost() = default;

    // The current content of the backup folder field, read at the moment of the call.
    virtual Text FolderField() = 0;

    // Appends one time-stamped line holding `message` to the log.
    virtual void AppendLog(const Text& message) = 0;

    // Enables or disables one button.
    virtual void SetButtonEnabled(PassButton button, bool enabled) = 0;

    // Shows, outside the log, that the pass has come to entry (or line) `position` of `total`,
    // 1 for the first: the window's title and taskbar button. A host may show nothing.
    virtual void ShowProgress(int position, int total) {}

    // Waits `milliseconds` while the calling thread's window messages keep flowing.
    virtual void Pause(int milliseconds) = 0;

    // The folder of the running program, without a closing separator (the manifest lives there).
    virtual Text ProgramFolder() = 0;

    // The pass ends having left `tool` running: a restore or create command that hung, which is
    // never ended since it writes the tool's own store. A window keeps the pass lock and Restore
    // taken until `tool` has ended, so that no second restore writes the store meanwhile. Called at
    // most once, as the pass's last step before it returns.
    virtual void HoldUntilEnded(std::shared_ptr<const RunningProcess> tool) {}

    // This pass's stop signal: requested by Stop from the window thread. Never null, and the same
    // object for the whole pass. The pass installs it on its thread so that a tool command it
    // started stops being read as soon as Stop is requested.
    virtual StopSignalPtr PassStopSignal() = 0;

    // True once Stop was requested for this pass. After that the pass logs nothing, touches no
    // control, does not pause and starts no tool command; it only tidies its own files and returns.
    bool ShouldStop() {
        StopSignalPtr signal = PassStopSignal();
        return signal && signal->Requested();
    }
};

using PassHostPtr = std::shared_ptr<PassHost>;
