// The built program itself, started as a user would start it, and driven from outside: through
// its window's controls and through uidriver.exe, the tool the scripts use.

#include <gtest/gtest.h>
#include <windows.h>

#include "app/window/MainWindow.h"
#include "app/window/portable/ControlIds.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiDriverRun.h"

namespace {

class MainWindowProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.Path().empty());
        // A fresh working copy: no settings beside it, and no tool has been set up for it.
        ASSERT_TRUE(program_.Start(folder_.Path()));
    }

    // Runs uidriver.exe against this test's program.
    CapturedRunResult Driver(const Text& arguments) { return RunUiDriver(program_.ProcessId(), arguments); }

    ScratchFolder folder_;
    ProgramUnderTest program_;
};

TEST_F(MainWindowProgramTest, StartsIdleAndClosesCleanly) {
    char title[64] = {};
    GetWindowTextA(program_.Window(), title, sizeof(title));
    EXPECT_STREQ(title, "Entry Keeper");
    EXPECT_TRUE(program_.IsEnabled(kStartButtonId));
    EXPECT_FALSE(program_.IsEnabled(kStopButtonId));
    EXPECT_TRUE(program_.IsEnabled(kRestoreButtonId));
    EXPECT_FALSE(program_.IsChecked(kOptionButton1Id));
    EXPECT_FALSE(program_.IsChecked(kOptionButton2Id));
    EXPECT_TRUE(program_.IsChecked(kOptionButton3Id));
    EXPECT_NE(program_.ControlText(kLogBoxId).find(kLogIntroText), Text::npos);

    ASSERT_TRUE(program_.Close());
    EXPECT_EQ(program_.ExitCode(), 0u);
}

TEST_F(MainWindowProgramTest, DriverReadsWritesClicksAndWaits) {
    struct Step {
        const char* arguments;
        DWORD exitCode;
        const char* output;  // expected standard output, or null to ignore it
    };
    const Step steps[] = {
        {"checked OptionButton3", 0, "1\n"},
        {"enabled StopButton", 0, "0\n"},
        {"enabled 0x16018600", 0, "1\n"},
        {"get-text LogBox", 0, kLogIntroText},
        {"set-text FolderField \"C:\\backup here\"", 0, ""},
        {"get-text FolderField", 0, "C:\\backup here"},
        {"click OptionButton1", 0, ""},
        {"wait OptionButton1 checked", 0, ""},
        {"wait OptionButton3 unchecked", 0, ""},
        {"wait FolderField text-contains backup", 0, ""},
        // A disabled button cannot be clicked, and a condition that never comes times out.
        {"click StopButton", 1, nullptr},
        {"--timeout 300 wait StopButton enabled", 1, nullptr},
        {"get-text NoSuchControl", 2, nullptr},
        {"close", 0, ""},
        {"wait-gone", 0, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.arguments);
        CapturedRunResult run = Driver(step.arguments);
        ASSERT_TRUE(run.started);
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, step.exitCode) << run.output;
        if (step.output) {
            EXPECT_EQ(run.output, step.output);
        }
    }
    EXPECT_TRUE(program_.WaitForExit(10000));
    EXPECT_EQ(program_.ExitCode(), 0u);
}

}  // namespace
