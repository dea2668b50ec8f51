#pragma once
// A copy of the stand-in console tool (entryctl.exe, tools/entryctl) in a scratch folder of its
// own, and what a test reads and changes of it: its entries, its fault switches, the backup files
// it wrote and the processes running it. The tool keeps everything beside its program, so every
// copy is a tool of its own. The object owns the folder: the processes still running the copy are
// ended and the folder is removed when it dies. Use from one test thread.
//
// The entries live in a file beside the program, one line per entry: number, name, kind, label,
// state, position, locked, content, separated by tabs, with \\ \t \r \n \0 escaped
// (tools/entryctl/ToolFolder.h, FieldEscape.h).

#include <windows.h>

#include <utility>
#include <vector>

#include "common/portable/Text.h"
#include "tests/support/TestPaths.h"

class StandInTool {
public:
    // The program goes into `subfolder` of the scratch folder (into the scratch folder itself when
    // empty), copied from the build at once when `copyNow`, else only by CopyProgram().
    explicit StandInTool(const Text& subfolder = Text(), bool copyNow = true);
    // Ends every process still running this copy (a hanging one never ends by itself).
    ~StandInTool();
    StandInTool(const StandInTool&) = delete;
    StandInTool& operator=(const StandInTool&) = delete;

    // Copies the build's program into Folder(). False on failure.
    bool CopyProgram();
    // Ends the copy's processes and deletes its program; its data stays. False when the program
    // could not be deleted.
    bool RemoveProgram();
    // Whether the program is in Folder() (copied, and not removed since).
    bool HasProgram() const { return hasProgram_; }

    // The scratch folder the object owns, without a closing separator.
    const Text& ScratchPath() const { return scratch_.Path(); }
    // The folder of the tool's program and data, and the program's full path.
    const Text& Folder() const { return folder_; }
    Text Exe() const;

    // Replaces the tool's entries with these (name, content) pairs, numbered 1, 2, ... in order.
    // An empty name makes an unnamed entry. False when the program is missing or the file cannot
    // be written.
    bool Seed(const std::vector<std::pair<Text, Text>>& entries) const;
    // Runs the tool's administration command with `arguments` (quoted by the caller); true when
    // it ran to its end with exit code 0.
    bool Admin(const Text& arguments) const;

    // Fault switches (tools/entryctl/Faults.h), one per line; each call replaces the previous set.
    bool SetFaults(const Text& lines) const;
    bool FailBackups() const { return SetFaults("backup-silent\r\n"); }
    bool RefuseRestores() const { return SetFaults("restore-refuse\r\n"); }
    bool FailCreates() const { return SetFaults("create-fail\r\n"); }
    bool HangOnBackup() const { return SetFaults("hang\r\nonly backup\r\n"); }
    bool HangOnRestore() const { return SetFaults("hang\r\nonly restore\r\n"); }
    bool ClearFaults() const { return SetFaults(""); }

    // Names and contents of the tool's entries, one "name<tab>content" each (escaped as stored),
    // sorted: what a restore must bring back. The numbers are left out, as an entry created again
    // gets a new one.
    std::vector<Text> Entries() const;
    // The content of the entry named `name`; empty when there is none.
    Text ContentOf(const Text& name) const;
    // The contents of the tool's entries in its order (entries of one name told apart by place).
    std::vector<Text> Contents() const;

    // Whether `path` is a whole backup file the tool wrote of the entry named `name`.
    bool BackupHolds(const Text& path, const Text& name) const;
    // Whether `path` is a whole backup file the tool wrote of an entry with this content.
    bool BackupHoldsContent(const Text& path, const Text& content) const;

    // The processes running this copy now, and ending them at once.
    std::vector<DWORD> Processes() const;
    void EndProcesses() const;
    // Waits up to `timeoutMs` for every run of this copy to end by itself (a run that Stop left
    // behind goes on until it is done), and for every command interpreter this process started:
    // one that Stop left behind may start the tool only now. False when one still runs then.
    bool WaitForToolsToEnd(DWORD timeoutMs) const;

private:
    // The fields of each line of the entry store, empty ones kept (a last empty field too).
    std::vector<TextArray> StoreLines() const;

    ScratchFolder scratch_;
    Text folder_;
    bool hasProgram_ = false;
};
