#pragma once
// The passes of this copy of the program that are running, as the window keeps count of them:
// the pass lock that keeps other copies on the same program folder from running passes meanwhile
// (PassLock.h), the progress shown in the title and on the taskbar button (WindowProgress.h), and
// whoever wants to hear when a pass has ended (a run started from the command line).
//
// A run counts from just before its thread starts until that thread has finished its pass, even
// when it was stopped (a stopped pass may still be tidying its files, and a stopped restore's
// tool may still be writing an entry). The lock is taken for the first run and let go after the
// last.
//
// No backup starts while a restore runs (BackupMayStart): it would back up the entries the restore
// has not reached yet over the very files the restore reads. A restore may start during a backup:
// it reads each backup file before the backup could replace it with what the restore wrote.
//
// Shared (shared_ptr) by the pass control and the hosts of the runs; members are called on the
// window thread only (a worker reaches them through RunOnWindowThread, which no longer runs once
// the window is gone).

#include <windows.h>

#include <functional>
#include <memory>

#include "app/passes/PassLock.h"
#include "app/passes/WindowProgress.h"
#include "workers/portable/PassKind.h"
#include "workers/portable/PassResult.h"

// Told, on the window thread, that a run of `kind` has ended with `result`.
using PassEndedFn = std::function<void(PassKind kind, PassResult result)>;

class RunningPasses {
public:
    // `openLock` opens the pass lock's file (PassLock.h).
    explicit RunningPasses(const Text& programFolder, LockFileOpener openLock = OpenLockFile);

    // Shows progress in `window` from now on; call before it is first shown.
    void ShowProgressIn(HWND window);

    // A run of `kind` is about to start: what the lock answered for the first run (Held for any
    // later one). HeldElsewhere counts nothing; the others count the run.
    PassLockResult Begin(PassKind kind);
    // The run of `kind` that Begin counted did not start after all.
    void Abandon(PassKind kind);
    // A run's thread has finished its pass with `result`; `stopped` when it was stopped (its
    // progress was cleared by the Stop or by the run that replaced it). Tells the listener. With
    // `keepCounted` the run still counts (the lock stays held) until ReleaseKept.
    void End(PassKind kind, PassResult result, bool stopped, bool keepCounted = false);
    // The run of `kind` that End kept counted no longer counts.
    void ReleaseKept(PassKind kind);

    // The running pass of `kind` is at `position` of `total`.
    void ShowProgress(PassKind kind, int position, int total);
    // The position the running pass of `kind` last showed; 0 before its first entry (or line) and
    // after its progress was cleared.
    int Position(PassKind kind) const { return positions_[kind == PassKind::Backup ? 0 : 1]; }
    void ClearProgress(PassKind kind);
    void ClearAllProgress();

    void SetEndedListener(PassEndedFn listener) { ended_ = std::move(listener); }

    // True while a run counts (Begin, until its End or Abandon): of `kind`, or of either.
    bool Running(PassKind kind) const { return Count(kind) > 0; }
    bool AnyRunning() const { return backups_ + restores_ > 0; }
    // False while a restore runs.
    bool BackupMayStart() const { return !Running(PassKind::Restore); }

private:
    int& Count(PassKind kind) { return kind == PassKind::Backup ? backups_ : restores_; }
    int Count(PassKind kind) const { return kind == PassKind::Backup ? backups_ : restores_; }
    void Uncount(PassKind kind);

    PassLock lock_;
    int backups_ = 0;
    int restores_ = 0;
    std::shared_ptr<WindowProgress> progress_;
    int positions_[2] = {0, 0};  // by kind: backup, restore
    PassEndedFn ended_;
};
