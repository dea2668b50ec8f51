#include "app/program/ProgramHandlers.h"

#include <utility>

#include "app/log/Log.h"
#include "app/program/Settings.h"
#include "app/program/portable/CommandLine.h"
#include "app/window/FolderDialog.h"

ProgramHandlers::ProgramHandlers(Text programFolder,
                                 std::shared_ptr<ToolCommands> commands,
                                 bool saveSettings,
                                 LockFileOpener openLock)
    : programFolder_(std::move(programFolder)),
      saveSettings_(saveSettings),
      passes_(std::move(commands), programFolder_, std::move(openLock)) {}

void ProgramHandlers::OnCreated(HWND window) {
    SetLogWindow(window);
    LoadSettings(window, programFolder_);
    passes_.ShowProgressIn(window);
}

void ProgramHandlers::OnClosing(HWND window) {
    passes_.RequestStopAll();
    if (saveSettings_)
        SaveSettings(window, programFolder_);
    SetLogWindow(nullptr);
}

void ProgramHandlers::OnSessionEnding(HWND window) {
    if (!passes_.AnyRunning())
        return;
    passes_.RequestStopAll();
    // The log file's line is on the disk once this returns (LogFile.h).
    AppendLog(window, kSessionEndedText);
    ExitProcess(kExitNotDone);
}

void ProgramHandlers::OnStart(HWND window) {
    passes_.StartBackup(window);
}

void ProgramHandlers::OnStop(HWND window) {
    passes_.Stop(window);
}

void ProgramHandlers::OnRestore(HWND window) {
    passes_.StartRestore(window);
}

void ProgramHandlers::OnBrowse(HWND window) {
    BrowseForBackupFolder(window);
}
