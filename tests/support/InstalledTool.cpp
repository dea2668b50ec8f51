#include "tests/support/InstalledTool.h"

#include <algorithm>

#include "common/portable/TextOps.h"
#include "tests/support/CapturedRun.h"
#include "tests/support/ProcessList.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"
#include "tools/entryctl/ToolFolder.h"

InstalledTool::InstalledTool(bool installNow) : value_(std::nullopt) {
    if (installNow)
        Install();
}

InstalledTool::~InstalledTool() {
    EndProcesses();
}

bool InstalledTool::Install() {
    CreateDirectoryA(Folder().c_str(), nullptr);
    installed_ = CopyFileA(BuiltProgramPath(kToolExeName).c_str(), Exe().c_str(), FALSE) && value_.Set(install_.Path());
    return installed_;
}

bool InstalledTool::Uninstall() {
    EndProcesses();
    installed_ = false;
    return DeleteFileA(Exe().c_str()) && value_.Remove();
}

Text InstalledTool::Exe() const {
    return Folder() + "\\" + kToolExeName;
}

bool InstalledTool::Admin(const Text& arguments) const {
    CapturedRunResult run = RunCaptured("\"" + Exe() + "\" admin " + arguments);
    return run.started && !run.timedOut && run.exitCode == 0;
}

bool InstalledTool::SetFaults(const Text& lines) const {
    return WriteWholeFile(Folder() + "\\" + entryctl::kFaultsFile, lines);
}

std::vector<Text> InstalledTool::Entries() const {
    std::vector<Text> entries;
    for (const Text& line : SplitText(ReadWholeFile(Folder() + "\\" + entryctl::kEntriesFile), "\r\n")) {
        TextArray fields = SplitText(line, "\t");
        if (fields.size() >= 8)
            entries.push_back(fields[1] + "\t" + fields[7]);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<DWORD> InstalledTool::Processes() const {
    return ProcessesRunning(Exe());
}

void InstalledTool::EndProcesses() const {
    ::EndProcesses(Processes());
}
