#include "tests/support/StandInTool.h"

#include <algorithm>

#include "common/portable/TextOps.h"
#include "tests/support/CapturedRun.h"
#include "tests/support/ProcessList.h"
#include "tests/support/StandInBackupFile.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"
#include "tools/entryctl/FieldEscape.h"
#include "tools/entryctl/ToolFolder.h"

namespace {

constexpr size_t kStoreFields = 8;
constexpr size_t kNameField = 1;
constexpr size_t kContentField = 7;

// How many command interpreters this process started are still running.
int InterpretersOfThisProcess() {
    const std::vector<PROCESSENTRY32> processes = RunningProcesses();
    return static_cast<int>(std::count_if(processes.begin(), processes.end(), [](const PROCESSENTRY32& entry) {
        return entry.th32ParentProcessID == GetCurrentProcessId() && EqualsIgnoreCase(entry.szExeFile, "cmd.exe");
    }));
}

}  // namespace

StandInTool::StandInTool(const Text& subfolder, bool copyNow)
    : folder_(subfolder.empty() ? scratch_.Path() : scratch_.File(subfolder)) {
    if (!subfolder.empty())
        CreateDirectoryA(folder_.c_str(), nullptr);
    if (copyNow)
        CopyProgram();
}

StandInTool::~StandInTool() {
    EndProcesses();
}

bool StandInTool::CopyProgram() {
    hasProgram_ = CopyFileA(BuiltProgramPath(kToolExeName).c_str(), Exe().c_str(), FALSE) != 0;
    return hasProgram_;
}

bool StandInTool::RemoveProgram() {
    EndProcesses();
    hasProgram_ = false;
    return DeleteFileA(Exe().c_str()) != 0;
}

Text StandInTool::Exe() const {
    return folder_ + "\\" + kToolExeName;
}

bool StandInTool::Seed(const std::vector<std::pair<Text, Text>>& entries) const {
    Text store;
    int number = 0;
    for (const auto& [name, content] : entries) {
        store += IntToText(++number) + "\t" + entryctl::EscapeField(name) + "\tnote\tlabel\tready\t0,0\t0\t" +
                 entryctl::EscapeField(content) + "\r\n";
    }
    return hasProgram_ && WriteWholeFile(folder_ + "\\" + entryctl::kEntriesFile, store);
}

bool StandInTool::Admin(const Text& arguments) const {
    CapturedRunResult run = RunCaptured("\"" + Exe() + "\" admin " + arguments);
    return run.started && !run.timedOut && run.exitCode == 0;
}

bool StandInTool::SetFaults(const Text& lines) const {
    return WriteWholeFile(folder_ + "\\" + entryctl::kFaultsFile, lines);
}

std::vector<Text> StandInTool::Entries() const {
    std::vector<Text> entries;
    for (const TextArray& fields : StoreLines()) {
        if (fields.size() >= kStoreFields)
            entries.push_back(fields[kNameField] + "\t" + fields[kContentField]);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

Text StandInTool::ContentOf(const Text& name) const {
    for (const TextArray& fields : StoreLines()) {
        if (fields.size() == kStoreFields && entryctl::UnescapeField(fields[kNameField]) == name)
            return entryctl::UnescapeField(fields[kContentField]);
    }
    return Text();
}

std::vector<Text> StandInTool::Contents() const {
    std::vector<Text> contents;
    for (const TextArray& fields : StoreLines()) {
        if (fields.size() == kStoreFields)
            contents.push_back(entryctl::UnescapeField(fields[kContentField]));
    }
    return contents;
}

bool StandInTool::BackupHolds(const Text& path, const Text& name) const {
    return IsStandInBackupOf(path, name);
}

bool StandInTool::BackupHoldsContent(const Text& path, const Text& content) const {
    Text storedName, storedContent;
    return ReadStandInBackup(path, &storedName, &storedContent) && storedContent == content;
}

std::vector<DWORD> StandInTool::Processes() const {
    return ProcessesRunning(Exe());
}

void StandInTool::EndProcesses() const {
    ::EndProcesses(Processes());
}

bool StandInTool::WaitForToolsToEnd(DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    while (!Processes().empty() || InterpretersOfThisProcess() > 0) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

std::vector<TextArray> StandInTool::StoreLines() const {
    // Split by hand: SplitText drops an empty last piece, and the last field is the content,
    // which may be empty.
    std::vector<TextArray> lines;
    for (const Text& line : SplitText(ReadWholeFile(folder_ + "\\" + entryctl::kEntriesFile), "\r\n")) {
        TextArray fields;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != Text::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        lines.push_back(fields);
    }
    return lines;
}
