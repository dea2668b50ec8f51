#pragma once
// A stand-in for the window that the passes talk to: it records every log line, button change,
// progress report and pause, and notices when a pass keeps acting after it has seen its stop signal.

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include <windows.h>

#include "workers/PassHost.h"

class FakePassHost : public PassHost {
public:
    struct ButtonChange {
        PassButton button;
        bool enabled;
        bool operator==(const ButtonChange&) const = default;
    };

    FakePassHost(Text programFolder, Text folderField)
        : programFolder_(std::move(programFolder)), folderField_(std::move(folderField)) {}

    // Called after each log line is recorded, on the pass's thread (e.g. to change the folder).
    std::function<void(FakePassHost&, const Text& line)> afterLog;
    // When set, pauses really wait; otherwise they are only recorded.
    bool realPauses = false;

    Text FolderField() override {
        std::lock_guard<std::mutex> lock(mutex_);
        NoteCallLocked();
        ++folderReads_;
        return folderField_;
    }

    void AppendLog(const Text& message) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            NoteCallLocked();
            log_.push_back(message);
        }
        if (afterLog)
            afterLog(*this, message);
    }

    void SetButtonEnabled(PassButton button, bool enabled) override {
        std::lock_guard<std::mutex> lock(mutex_);
        NoteCallLocked();
        buttons_.push_back({button, enabled});
    }

    void ShowProgress(int position, int total) override {
        std::lock_guard<std::mutex> lock(mutex_);
        NoteCallLocked();
        progress_.push_back({position, total});
    }

    void Pause(int milliseconds) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            NoteCallLocked();
            pauses_.push_back(milliseconds);
        }
        if (realPauses)
            Sleep(milliseconds);
    }

    Text ProgramFolder() override { return programFolder_; }

    void HoldUntilEnded(std::shared_ptr<const RunningProcess> tool) override {
        std::lock_guard<std::mutex> lock(mutex_);
        NoteCallLocked();
        held_.push_back(std::move(tool));
    }
    // Every tool process a pass handed over as left running.
    std::vector<std::shared_ptr<const RunningProcess>> Held() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return held_;
    }

    StopSignalPtr PassStopSignal() override {
        if (stop_->Requested()) {
            std::lock_guard<std::mutex> lock(mutex_);
            stopNoticed_ = true;
        }
        return stop_;
    }

    void SetFolderField(const Text& folder) {
        std::lock_guard<std::mutex> lock(mutex_);
        folderField_ = folder;
    }
    void RequestStop() { stop_->Request(); }

    std::vector<Text> Log() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return log_;
    }
    std::vector<ButtonChange> Buttons() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return buttons_;
    }
    // Every ShowProgress call: (position, total).
    std::vector<std::pair<int, int>> Progress() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return progress_;
    }
    std::vector<int> Pauses() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return pauses_;
    }
    int FolderReads() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return folderReads_;
    }
    bool StopNoticed() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return stopNoticed_;
    }
    // Log lines, button changes, progress reports, pauses and folder reads made after the pass had
    // seen its stop signal.
    int CallsAfterStopNoticed() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return callsAfterStop_;
    }

private:
    void NoteCallLocked() {
        if (stopNoticed_)
            ++callsAfterStop_;
    }

    mutable std::mutex mutex_;
    const Text programFolder_;
    Text folderField_;
    StopSignalPtr stop_ = std::make_shared<StopSignal>();
    std::vector<Text> log_;
    std::vector<ButtonChange> buttons_;
    std::vector<std::pair<int, int>> progress_;
    std::vector<int> pauses_;
    std::vector<std::shared_ptr<const RunningProcess>> held_;
    int folderReads_ = 0;
    bool stopNoticed_ = false;
    int callsAfterStop_ = 0;
};
