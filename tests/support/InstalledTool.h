#pragma once
// The stand-in tool (StandInTool.h) installed as a user installs it, for tests of the whole
// program: its program in <install folder>\bin and the registry value that names the install
// folder (InstallValueOverride.h, shared by the whole test prefix: tests that use this run alone).
// The program under test finds it the way it finds a real installation. The value is put back as
// it was found when the object dies. Use from one test thread.

#include "tests/support/InstallValueOverride.h"
#include "tests/support/StandInTool.h"

class InstalledTool : public StandInTool {
public:
    // Installed at once when `installNow`; otherwise no tool is installed (the registry value is
    // removed) until Install().
    explicit InstalledTool(bool installNow = true);

    // Copies the tool's program into its folder and writes the registry value. False on failure.
    bool Install();
    // Ends the tool's processes, removes its program and the registry value; its data stays.
    bool Uninstall();
    // Whether Install succeeded (in the constructor or later) and Uninstall has not run since.
    bool IsInstalled() const { return installed_; }

private:
    InstallValueOverride value_;
    bool installed_ = false;
};
