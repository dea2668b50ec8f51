#pragma once
// The fixture the tests of the whole program share: a program folder of the test's own, whose
// settings file names a backup folder inside it; a copy of the stand-in tool installed as a user
// installs it (InstalledTool.h: its registry value is shared by the whole test prefix, so tests
// built on this run alone); and program_, the program as the test starts it from that folder.
// The members end in an order that matters: the program before its folder, both before the tool.
// Test thread only.

#include <gtest/gtest.h>
#include <windows.h>

#include "app/window/portable/ControlIds.h"
#include "common/portable/TextOps.h"
#include "tests/support/InstalledTool.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/TestPaths.h"
#include "workers/ManifestFile.h"

class ProgramWithToolTest : public ::testing::Test {
protected:
    // The tool is installed before the test when `installTool`; otherwise the test installs it
    // (tool_.Install()) when it wants one.
    explicit ProgramWithToolTest(bool installTool = true) : tool_(installTool), installTool_(installTool) {}

    void SetUp() override {
        if (installTool_) {
            ASSERT_TRUE(tool_.IsInstalled());
        }
        ASSERT_TRUE(CreateDirectoryA(BackupFolder().c_str(), nullptr));
        // The program starts with the backup folder of this test.
        ASSERT_TRUE(WriteWholeFile(SettingsFile(), "[BackupFolder]\r\nBackupFolder=" + BackupFolder() + "\r\n"));
    }
    void TearDown() override {
        if (!program_.HasExited())
            program_.Close();
        tool_.EndProcesses();
    }

    Text BackupFolder() const { return programFolder_.File("backups"); }
    Text SettingsFile() const { return programFolder_.File("EntryKeeper.ini"); }
    Text Manifest() const { return ReadWholeFile(ManifestPath(programFolder_.Path())); }

    // program_'s log as its window shows it, and waiting for a text to appear there.
    Text Log() const { return program_.ControlText(kLogBoxId); }
    bool LogHas(const Text& text) const { return FindText(Log(), text) > 0; }
    bool WaitForLog(const Text& text, DWORD timeoutMs = 60000) const {
        return WaitUntil([&] { return LogHas(text); }, timeoutMs);
    }

    InstalledTool tool_;
    ScratchFolder programFolder_;
    ProgramUnderTest program_;

private:
    const bool installTool_;
};
