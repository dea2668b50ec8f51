// The settings file as the main window meets it: loaded into a real window when it is created,
// saved when it closes, with a scratch folder standing in for the program's folder.

#include "app/program/Settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/program/ProgramHandlers.h"
#include "app/window/ControlAccess.h"
#include "app/window/MainWindow.h"
#include "tests/support/NoTool.h"
#include "tests/support/TestPaths.h"
#include "tooldriver/ToolCommands.h"

namespace {

constexpr int kOptionIds[3] = {kOptionButton1Id, kOptionButton2Id, kOptionButton3Id};

class SettingsTest : public ::testing::Test {
protected:
    void TearDown() override { CloseWindow(); }

    // A new main window whose program folder is the scratch folder; its creation loads the settings.
    void OpenWindow() {
        CloseWindow();
        handlers_ = std::make_unique<ProgramHandlers>(folder_.Path(), NoTool());
        window_ = std::make_unique<MainWindow>(handlers_.get());
        ASSERT_TRUE(window_->Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    }

    // Closes the window as its close box does, which saves the settings.
    void CloseWindow() {
        if (window_ && window_->Handle())
            SendMessageA(window_->Handle(), WM_CLOSE, 0, 0);
        window_.reset();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND Window() const { return window_->Handle(); }
    Text Folder() const { return ReadControlText(Window(), kFolderFieldId); }

    // The number of the one selected option button; 0 when none or more than one is selected.
    int SelectedOption() const {
        int selected = 0;
        for (int i = 0; i < 3; ++i) {
            if (ReadControlInt(Window(), kOptionIds[i], kPropSelected) == 1)
                selected = selected == 0 ? i + 1 : -1;
        }
        return selected < 0 ? 0 : selected;
    }

    void Select(int option) { WriteControlInt(Window(), kOptionIds[option - 1], kPropSelected, 1); }

    Text SettingsFile() const { return SettingsFilePath(folder_.Path()); }

    ScratchFolder folder_;
    std::unique_ptr<ProgramHandlers> handlers_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(SettingsTest, FirstRunShowsTheProgramFolderAndOption3WithoutWritingAFile) {
    OpenWindow();
    EXPECT_EQ(Folder(), folder_.Path());
    EXPECT_EQ(SelectedOption(), 3);
    EXPECT_FALSE(FileExists(SettingsFile()));
    EXPECT_EQ(SettingsFile(), folder_.Path() + "\\EntryKeeper.ini");
}

TEST_F(SettingsTest, WhatTheWindowHeldWhenClosedComesBackNextTime) {
    struct Case {
        const char* name;
        Text folder;
        int option;
    };
    const Case cases[] = {
        {"plain folder, option 1", "D:\\My backups", 1},
        {"double-byte folder, option 2", "D:\\\xb1\xb8\xb7\xdd \xce\xc4\xbc\xfe\xbc\xd0", 2},
        {"folder whose second bytes are backslashes", "E:\\\xd5\x5c\xb1\x5c", 3},
        {"emptied folder stays empty", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWindow();
        WriteControlText(Window(), kFolderFieldId, c.folder);
        Select(c.option);
        CloseWindow();
        ASSERT_TRUE(FileExists(SettingsFile()));

        OpenWindow();
        EXPECT_EQ(Folder(), c.folder);
        EXPECT_EQ(SelectedOption(), c.option);
    }
}

TEST_F(SettingsTest, LoadingReadsExactlyWhatTheFileHolds) {
    struct Case {
        const char* name;
        const char* file;
        Text folder;  // expected; "<program>" stands for the program's folder
        int option;   // expected; option 1 is selected before loading, so 1 also means "left alone"
    };
    const Text program = "<program>";
    const Case cases[] = {
        {"empty stored folder", "[BackupFolder]\r\nBackupFolder=\r\n[Options]\r\nOption=2\r\n", "", 2},
        {"no folder key in its section", "[BackupFolder]\r\nOther=C:\\x\r\n", program, 3},
        {"only the option", "[Options]\r\nOption=3\r\n", program, 3},
        {"key names ignore letter case", "[backupfolder]\r\nBACKUPFOLDER=C:\\x\r\n", "C:\\x", 3},
        {"option 4 leaves the group alone", "[Options]\r\nOption=4\r\n", program, 1},
        {"option 01 is not option 1", "[Options]\r\nOption=01\r\n", program, 1},
        {"option 2.0 is not option 2", "[Options]\r\nOption=2.0\r\n", program, 1},
        {"empty option", "[Options]\r\nOption=\r\n", program, 1},
        {"full-width digit", "[Options]\r\nOption=\xa3\xb2\r\n", program, 1},
        {"option 2", "[Options]\r\nOption=2\r\n", program, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(SettingsFile(), c.file));
        OpenWindow();
        Select(1);
        WriteControlText(Window(), kFolderFieldId, "before");
        LoadSettings(Window(), folder_.Path());
        EXPECT_EQ(Folder(), c.folder == program ? folder_.Path() : c.folder);
        EXPECT_EQ(SelectedOption(), c.option);
        // Not saved: the next case starts from its own file.
        window_.reset();
    }
}

TEST_F(SettingsTest, SavingNeverBreaksTheFile) {
    ASSERT_TRUE(WriteWholeFile(SettingsFile(), "[Options]\r\nOption=2\r\n"));
    OpenWindow();
    ASSERT_EQ(SelectedOption(), 2);
    // A pasted line break must not smuggle a section of its own into the file, and with no
    // option selected the stored one stays.
    WriteControlText(Window(), kFolderFieldId, "D:\\backups\r\n[Options]\r\nOption=1");
    WriteControlInt(Window(), kOptionButton2Id, kPropSelected, 0);
    ASSERT_EQ(SelectedOption(), 0);
    CloseWindow();

    OpenWindow();
    EXPECT_EQ(Folder(), "D:\\backups");
    EXPECT_EQ(SelectedOption(), 2);
}

TEST_F(SettingsTest, AnUnwritableFileLosesTheSettingsQuietly) {
    // The settings file's name taken by a folder: nothing can be written there.
    ASSERT_TRUE(CreateDirectoryA(SettingsFile().c_str(), nullptr));
    OpenWindow();
    EXPECT_EQ(Folder(), folder_.Path());
    WriteControlText(Window(), kFolderFieldId, "D:\\elsewhere");
    CloseWindow();
    OpenWindow();
    EXPECT_EQ(Folder(), folder_.Path());
    EXPECT_EQ(SelectedOption(), 3);
    RemoveDirectoryA(SettingsFile().c_str());
}

}  // namespace
