#pragma once
// A copy of the stand-in tool installed as a user installs it, for tests of the whole program:
// its program in <install folder>\bin and the registry value that names the install folder
// (InstallValueOverride.h; tests that use this run alone). The program under test finds it the
// way it finds a real installation.

#include <windows.h>

#include <vector>

#include "common/portable/Text.h"
#include "tests/support/InstallValueOverride.h"
#include "tests/support/TestPaths.h"

class InstalledTool {
public:
    // Installed at once when `installNow`; otherwise no tool is installed (the registry value is
    // removed) until Install().
    explicit InstalledTool(bool installNow = true);
    // Ends every process still running this copy of the tool.
    ~InstalledTool();
    InstalledTool(const InstalledTool&) = delete;
    InstalledTool& operator=(const InstalledTool&) = delete;

    // Copies the tool's program into its folder and writes the registry value. False on failure.
    bool Install();
    // Removes the tool's program and the registry value; its data stays in its folder.
    bool Uninstall();
    // Whether Install succeeded (in the constructor or later) and Uninstall has not run since.
    bool IsInstalled() const { return installed_; }

    // The folder that holds the tool's program (and its data), and the program.
    Text Folder() const { return install_.File("bin"); }
    Text Exe() const;

    // Runs the tool's administration command (arguments quoted by the caller); true when it succeeded.
    bool Admin(const Text& arguments) const;
    // Replaces the tool's fault switches (tools/entryctl/Faults.h), one per line.
    bool SetFaults(const Text& lines) const;
    // Names and contents of the tool's entries, sorted: what a restore must bring back. The
    // numbers are left out, as an entry created again gets a new one.
    std::vector<Text> Entries() const;

    // The processes running this copy of the tool (a hanging one never ends by itself), and ending them.
    std::vector<DWORD> Processes() const;
    void EndProcesses() const;

private:
    ScratchFolder install_;
    InstallValueOverride value_;
    bool installed_ = false;
};
