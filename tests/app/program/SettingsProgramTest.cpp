// The settings of the built program across real starts: each test gives the program a folder of
// its own, where its settings file lives beside it.

#include <gtest/gtest.h>
#include <windows.h>

#include "app/program/Settings.h"
#include "app/window/portable/ControlIds.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/TestPaths.h"

namespace {

class SettingsProgramTest : public ::testing::Test {
protected:
    ScratchFolder scratch_;
    ProgramUnderTest program_;
};

TEST_F(SettingsProgramTest, FirstRunShowsItsOwnFolderWhateverItsFileIsCalled) {
    // The program renamed to a double-byte name whose last character ends in the byte of the
    // directory separator: a search that does not step over double-byte characters takes that
    // byte for the separator and cuts the name in two.
    const Text folder = scratch_.File("\xb1\xb8\xb7\xdd");
    const Text exeName = "\xb1\xb8\xb7\xdd\xd5\x5c.exe";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(BuiltProgramPath("EntryKeeper.exe").c_str(), (folder + "\\" + exeName).c_str(), FALSE));
    ASSERT_TRUE(program_.Start(folder, exeName));
    EXPECT_EQ(program_.ControlText(kFolderFieldId), folder);
    EXPECT_FALSE(program_.IsChecked(kOptionButton1Id));
    EXPECT_FALSE(program_.IsChecked(kOptionButton2Id));
    EXPECT_TRUE(program_.IsChecked(kOptionButton3Id));
    ASSERT_TRUE(program_.Close());
    EXPECT_EQ(program_.ExitCode(), 0u);
    EXPECT_TRUE(FileExists(folder + kSettingsFileName));
}

TEST_F(SettingsProgramTest, AChosenFolderAndOption1SurviveARestart) {
    const Text chosen = "D:\\\xbf\xcd\xbb\xa7 backups";
    ASSERT_TRUE(program_.Start(scratch_.Path()));
    ASSERT_TRUE(program_.SetControlText(kFolderFieldId, chosen));
    ASSERT_TRUE(program_.Click(kOptionButton1Id));
    ASSERT_TRUE(WaitUntil([&] { return program_.IsChecked(kOptionButton1Id); }, 5000));
    ASSERT_TRUE(program_.Close());
    EXPECT_EQ(program_.ExitCode(), 0u);

    ProgramUnderTest again;
    ASSERT_TRUE(again.Start(scratch_.Path()));
    EXPECT_EQ(again.ControlText(kFolderFieldId), chosen);
    EXPECT_TRUE(again.IsChecked(kOptionButton1Id));
    EXPECT_FALSE(again.IsChecked(kOptionButton3Id));
    ASSERT_TRUE(again.Close());
}

TEST_F(SettingsProgramTest, AStoredOption4LeavesTheOptionsAsDesigned) {
    ASSERT_TRUE(WriteWholeFile(scratch_.File("EntryKeeper.ini"),
                               "[BackupFolder]\r\nBackupFolder=D:\\kept\r\n[Options]\r\nOption=4\r\n"));
    ASSERT_TRUE(program_.Start(scratch_.Path()));
    EXPECT_EQ(program_.ControlText(kFolderFieldId), "D:\\kept");
    EXPECT_FALSE(program_.IsChecked(kOptionButton1Id));
    EXPECT_FALSE(program_.IsChecked(kOptionButton2Id));
    EXPECT_TRUE(program_.IsChecked(kOptionButton3Id));
    ASSERT_TRUE(program_.Close());
}

}  // namespace
