// ToolLink against the stand-in tool, through the real command runner and command interpreter:
// a copy of entryctl.exe in a folder of its own, found through the registry value.

#include "toollink/ToolLink.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/portable/SharedTexts.h"
#include "tests/support/TestPaths.h"
#include "tooldriver/CommandRunner.h"
#include "toollink/portable/ToolLocation.h"
#include "toollink/portable/vocabulary/TargetCommandTexts.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"

namespace {

const Text kInstallKeyPath = Text(kInstallKey).substr(0, Text(kInstallKey).rfind('\\'));
const Text kInstallValueName = Text(kInstallKey).substr(Text(kInstallKey).rfind('\\') + 1);

class ToolLinkEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearToolLocation();
        toolFolder_ = scratch_.Path() + kInstallSubdir;
        ASSERT_TRUE(CreateDirectoryA(toolFolder_.c_str(), nullptr));
        program_ = toolFolder_ + kToolExeName;
        ASSERT_TRUE(CopyFileA(BuiltProgramPath(kToolExeName).c_str(), program_.c_str(), TRUE));
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        createdKey_ = disposition == REG_CREATED_NEW_KEY;
        const Text& value = scratch_.Path();
        RegSetValueExA(key, kInstallValueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }

    void TearDown() override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, kInstallValueName.c_str());
            RegCloseKey(key);
        }
        if (createdKey_)
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath.c_str(), KEY_WOW64_64KEY, 0);
        SetCurrentDirectoryA(BuiltProgramFolder().c_str());
        ClearToolLocation();
    }

    // Adds a target to this copy of the tool through its own admin command.
    void AddTarget(const Text& id, const Text& description) {
        RunConsoleCommand(kPathMark + program_ + "\" admin target \"" + id + "\" \"" + description + "\"");
    }

    ScratchFolder scratch_;
    Text toolFolder_;
    Text program_;
    bool createdKey_ = false;
};

TEST_F(ToolLinkEndToEndTest, ListsAndSelectsTheToolsTargets) {
    ToolLink link(RunConsoleCommand);
    ASSERT_EQ(ToolPath(), program_);

    EXPECT_EQ(link.ListTargets(), "");  // no targets yet: the tool's no-target reply
    EXPECT_FALSE(link.SelectTarget(1));

    AddTarget("T1", "First target");
    AddTarget("T2", "Second target");
    TextArray listOut = {"stale"};
    EXPECT_EQ(link.ListTargets(&listOut), Text("T1") + kLineSep + "T2" + kLineSep);
    EXPECT_TRUE(listOut.empty());

    EXPECT_TRUE(link.SelectTarget(2));
    EXPECT_EQ(TargetId(), "T2");
    EXPECT_FALSE(link.SelectTarget(3));
    EXPECT_EQ(TargetId(), "T2");
}

TEST_F(ToolLinkEndToEndTest, CommandsReachTheSelectedTargetWithTheirArgumentsWhole) {
    AddTarget("T1", "First target");
    ToolLink link(RunConsoleCommand);
    ASSERT_TRUE(link.SelectTarget(1));

    EXPECT_TRUE(link.Command25());
    // The tool answers with the id it received, so the target reached it whole.
    EXPECT_EQ(link.Command07("id"), Text("T1") + kLineSep);
    EXPECT_EQ(link.Command07("description"), Text("First target") + kLineSep);
    TextArray sessions;
    EXPECT_EQ(link.Command05(sessions), 2);
    EXPECT_EQ(sessions, (TextArray{"T1-main", "T1-spare"}));
    EXPECT_TRUE(link.Command09("640", "480"));
    EXPECT_FALSE(link.Command09("640", "wide"));
    EXPECT_TRUE(link.Command03("a file", "b file"));
    EXPECT_TRUE(link.Command04("a file", "b file"));

    // Characters that are operators outside quotes reach the tool as written, and a file name
    // with them is read where it is.
    const Text file = scratch_.File("a&b (c) ^d.txt");
    ASSERT_TRUE(WriteWholeFile(file, "watched text"));
    EXPECT_TRUE(link.Command08(file));
    EXPECT_EQ(link.Command22(file, nullptr), "watched text");
    EXPECT_FALSE(link.Command08(scratch_.File("missing.txt")));

    EXPECT_FALSE(link.Command27().empty());

    // A target the tool does not know gets no success marker.
    const Text unknown = "T9";
    ASSERT_TRUE(link.SelectTarget(0, &unknown));
    EXPECT_FALSE(link.Command25());
}

// A backslash right before a closing quote escapes it for a tool that splits its line the C
// runtime's way; the target id and every argument must arrive as they were given all the same.
TEST_F(ToolLinkEndToEndTest, TargetIdsAndArgumentsEndingInABackslashArriveWhole) {
    AddTarget("T\\", "Ends in a backslash");
    ToolLink link(RunConsoleCommand);
    ASSERT_TRUE(link.SelectTarget(1));
    ASSERT_EQ(TargetId(), "T\\");

    EXPECT_EQ(link.Command07("id"), Text("T\\") + kLineSep);
    EXPECT_TRUE(link.Command01("C:\\dir\\"));               // before the closing path mark
    EXPECT_TRUE(link.Command03("C:\\dir\\", "D:\\"));       // before the next argument's quotes
    EXPECT_TRUE(link.Command04("C:\\dir\\\\", "D:\\x\\"));  // two backslashes, then the path mark
    EXPECT_TRUE(link.Command02("C:\\dir\\"));               // at the line's end
    EXPECT_TRUE(link.Command25());
}

}  // namespace
