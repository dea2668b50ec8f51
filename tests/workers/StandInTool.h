#pragma once
// A private copy of the stand-in console tool (entryctl.exe) in a scratch folder, made the tool
// the program drives (ToolDir), with its entries, fault switches and backup files reachable from
// the test. Header-only so the pass benchmark can use it too.
//
// The tool keeps its entries in a file beside its program (one line per entry: number, name,
// kind, label, state, position, locked, content, separated by tabs, with \\ \t \r \n \0 escaped)
// and reads its fault switches from another before every command (tools/entryctl/ToolFolder.h).

#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "common/WinHandles.h"
#include "common/portable/TextOps.h"
#include "tests/support/CapturedRun.h"
#include "tests/support/ProcessList.h"
#include "tests/support/TestPaths.h"
#include "tooldriver/ToolCommands.h"
#include "toollink/portable/ToolLocation.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"
#include "tools/entryctl/FieldEscape.h"
#include "tools/entryctl/ToolFolder.h"

// The stand-in tool's backup file at `path`: "entryctl backup 1", then "key: value" lines (name
// escaped, size in bytes), an empty line, and exactly `size` bytes of content. False for anything
// else, a missing or half-written file among them.
inline bool ReadStandInBackup(const Text& path, Text* name, Text* content) {
    const Text bytes = ReadWholeFile(path);
    const size_t bodyStart = bytes.find("\r\n\r\n");
    if (bytes.rfind("entryctl backup 1\r\n", 0) != 0 || bodyStart == Text::npos)
        return false;
    long long size = -1;
    for (const Text& line : SplitText(bytes.substr(0, bodyStart), "\r\n")) {
        if (line.rfind("name: ", 0) == 0)
            *name = entryctl::UnescapeField(line.substr(6));
        else if (line.rfind("size: ", 0) == 0)
            size = TextToInt(line.substr(6));
    }
    *content = bytes.substr(bodyStart + 4);
    return size >= 0 && static_cast<long long>(content->size()) == size;
}

// Whether `path` is a complete backup file the stand-in tool wrote of the entry named `name`.
inline bool IsStandInBackupOf(const Text& path, const Text& name) {
    Text storedName, content;
    return ReadStandInBackup(path, &storedName, &content) && storedName == name;
}

// Whether a file in `folder` holds the start of a stand-in backup but not the whole of one: what
// the tool leaves when it is caught writing (its backup-torn fault).
inline bool FolderHoldsTornBackup(const Text& folder) {
    for (const Text& file : FilesIn(folder)) {
        Text name, content;
        const Text path = folder + "\\" + file;
        if (ReadWholeFile(path).rfind("entryctl backup 1\r\n", 0) == 0 && !ReadStandInBackup(path, &name, &content))
            return true;
    }
    return false;
}

// Runs the administration command of the stand-in tool at `exe` with `arguments` (quoted by the
// caller); true when it succeeded.
inline bool RunStandInAdmin(const Text& exe, const Text& arguments) {
    CapturedRunResult run = RunCaptured("\"" + exe + "\" admin " + arguments);
    return run.started && !run.timedOut && run.exitCode == 0;
}

// Names and contents of the entries the stand-in tool in `toolFolder` keeps, one "name<tab>content"
// each (escaped as stored), sorted: what a restore must bring back. The numbers are left out, as an
// entry created again gets a new one.
inline std::vector<Text> StandInEntries(const Text& toolFolder) {
    std::vector<Text> entries;
    for (const Text& line : SplitText(ReadWholeFile(toolFolder + "\\" + entryctl::kEntriesFile), "\r\n")) {
        TextArray fields = SplitText(line, "\t");
        if (fields.size() >= 8)
            entries.push_back(fields[1] + "\t" + fields[7]);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

class StandInTool {
public:
    StandInTool() {
        copied_ = CopyFileA(BuiltProgramPath(kToolExeName).c_str(), folder_.File(kToolExeName).c_str(), FALSE) != 0;
        commands_ = std::make_shared<ToolCommands>();
        // Whatever the construction located, this copy is the tool from now on.
        SetToolDir(folder_.Path());
        SetToolPath(folder_.File(kToolExeName));
    }
    ~StandInTool() { EndHangingTools(); }

    const Text& Dir() const { return folder_.Path(); }
    std::shared_ptr<ToolCommands> Commands() const { return commands_; }

    // Replaces the tool's entries with these (name, content) pairs, numbered 1, 2, ... in order.
    // An empty name makes an unnamed entry.
    bool Seed(const std::vector<std::pair<Text, Text>>& entries) {
        Text db;
        int number = 0;
        for (const auto& [name, content] : entries) {
            db += IntToText(++number) + "\t" + entryctl::EscapeField(name) + "\tnote\tlabel\tready\t0,0\t0\t" + entryctl::EscapeField(content) +
                  "\r\n";
        }
        return copied_ && WriteWholeFile(folder_.File(entryctl::kEntriesFile), db);
    }

    // Fault switches (see the tool's Faults.h); each call replaces the previous set.
    bool SetFaults(const Text& lines) { return WriteWholeFile(folder_.File(entryctl::kFaultsFile), lines); }
    bool FailBackups() { return SetFaults("backup-silent\r\n"); }
    bool RefuseRestores() { return SetFaults("restore-refuse\r\n"); }
    bool FailCreates() { return SetFaults("create-fail\r\n"); }
    bool HangOnBackup() { return SetFaults("hang\r\nonly backup\r\n"); }
    bool HangOnRestore() { return SetFaults("hang\r\nonly restore\r\n"); }
    bool ClearFaults() { return SetFaults(""); }

    // The content of the entry named `name` in the tool's store; empty when there is none.
    Text ContentOf(const Text& name) const {
        for (const auto& fields : StoreLines()) {
            if (fields.size() == 8 && entryctl::UnescapeField(fields[1]) == name)
                return entryctl::UnescapeField(fields[7]);
        }
        return Text();
    }

    // The contents of the tool's entries in its order (entries of one name told apart by place).
    std::vector<Text> Contents() const {
        std::vector<Text> contents;
        for (const auto& fields : StoreLines()) {
            if (fields.size() == 8)
                contents.push_back(entryctl::UnescapeField(fields[7]));
        }
        return contents;
    }

    // The names the tool lists, in its order, as the program reads them.
    std::vector<Text> ListedNames() const {
        EntryList list;
        commands_->ListEntries(list);
        std::vector<Text> names;
        for (const EntryRecord& record : list)
            names.push_back(record.text1);
        return names;
    }

    // Whether `path` is a complete backup file the tool wrote of the entry named `name`.
    bool BackupHolds(const Text& path, const Text& name) const { return IsStandInBackupOf(path, name); }
    // Whether `path` is a complete backup file the tool wrote of an entry with this content.
    bool BackupHoldsContent(const Text& path, const Text& expected) const {
        Text storedName, content;
        return ReadStandInBackup(path, &storedName, &content) && content == expected;
    }

    // Ends every process still running this copy of the tool (a hanging one never ends itself).
    void EndHangingTools() {
        for (UniqueHandle& process : RunningTools())
            TerminateProcess(process.get(), 1);
    }

    // Waits up to `timeoutMs` for every run of this copy of the tool to end by itself (a run that
    // Stop left behind goes on until it is done), and for every command interpreter this process
    // started: one that Stop left behind may start the tool only now. False when one still runs then.
    bool WaitForToolsToEnd(DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        while (!RunningTools().empty() || InterpretersOfThisProcess() > 0) {
            if (GetTickCount() - start > timeoutMs)
                return false;
            Sleep(20);
        }
        return true;
    }

private:
    // The processes running this copy of the tool.
    std::vector<UniqueHandle> RunningTools() const {
        std::vector<UniqueHandle> running;
        for (DWORD id : ProcessesRunning(folder_.File(kToolExeName))) {
            UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
            if (process)
                running.push_back(std::move(process));
        }
        return running;
    }

    // How many command interpreters this process started are still running.
    static int InterpretersOfThisProcess() {
        const std::vector<PROCESSENTRY32> processes = RunningProcesses();
        return static_cast<int>(std::count_if(processes.begin(), processes.end(), [](const PROCESSENTRY32& entry) {
            return entry.th32ParentProcessID == GetCurrentProcessId() && EqualsIgnoreCase(entry.szExeFile, "cmd.exe");
        }));
    }

    std::vector<TextArray> StoreLines() const {
        std::vector<TextArray> lines;
        for (const Text& line : SplitText(ReadWholeFile(folder_.File(entryctl::kEntriesFile)), "\r\n")) {
            TextArray fields;
            size_t start = 0;
            for (size_t tab; (tab = line.find('\t', start)) != Text::npos; start = tab + 1)
                fields.push_back(line.substr(start, tab - start));
            fields.push_back(line.substr(start));
            lines.push_back(fields);
        }
        return lines;
    }

    ScratchFolder folder_;
    bool copied_ = false;
    std::shared_ptr<ToolCommands> commands_;
};
