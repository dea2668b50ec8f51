#include "app/ProgramHandlers.h"

#include <utility>

#include "app/FolderDialog.h"
#include "app/Log.h"
#include "app/Settings.h"

ProgramHandlers::ProgramHandlers(Text programFolder) : programFolder_(std::move(programFolder)) {}

void ProgramHandlers::OnCreated(HWND window) {
    SetLogWindow(window);
    LoadSettings(window, programFolder_);
}

void ProgramHandlers::OnClosing(HWND window) {
    SaveSettings(window, programFolder_);
    SetLogWindow(nullptr);
}

void ProgramHandlers::OnBrowse(HWND window) {
    BrowseForBackupFolder(window);
}
