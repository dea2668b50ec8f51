#include "toollink/ShortcutTarget.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestPaths.h"
#include "tests/toollink/ShortcutFiles.h"

namespace {

TEST(ShortcutTargetTest, ReadsTheTargetOfARealShortcut) {
    ScratchFolder scratch;
    const Text target = scratch.File("entryctl.exe");
    ASSERT_TRUE(WriteWholeFile(target, "x"));
    const Text lnk = scratch.File("Tool.lnk");
    ASSERT_TRUE(WriteShortcutFile(lnk, target));
    EXPECT_EQ(ShortcutTarget(lnk), target);
}

TEST(ShortcutTargetTest, GivesEmptyTextWithoutAReadableShortcut) {
    ScratchFolder scratch;
    const Text target = scratch.File("entryctl.exe");
    ASSERT_TRUE(WriteWholeFile(target, "x"));
    // The same shortcut under a name whose extension differs in letter case is not looked at.
    const Text upper = scratch.File("Tool.LNK");
    ASSERT_TRUE(WriteShortcutFile(upper, target));
    const Text notAShortcut = scratch.File("notes.lnk");
    ASSERT_TRUE(WriteWholeFile(notAShortcut, "plain text, not a shortcut"));
    struct EmptyCase {
        const char* name;
        Text path;
    };
    const EmptyCase cases[] = {
        {"extension in other letter case", upper},
        {"missing file", scratch.File("missing.lnk")},
        {"file that is no shortcut", notAShortcut},
        {"empty path", ""},
    };
    for (const EmptyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ShortcutTarget(c.path), "");
    }
}

TEST(ShortcutTargetTest, ATargetRecordedUnderProgramFilesIsReadAsA32BitProgramReadsIt) {
    // A 32-bit installer's shortcut to "Program Files (x86)\Tool\entryctl.exe" records
    // "%ProgramFiles%\Tool\entryctl.exe", which the shell of 64-bit Windows expands for this
    // 64-bit program to "Program Files\Tool\entryctl.exe". Folders named alike under both:
    const Text name = "EntryKeeper shortcut test " + std::to_string(GetCurrentProcessId());
    ScratchFolder under32(EnvironmentFolder("ProgramFiles(x86)"), name);
    ScratchFolder under64(EnvironmentFolder("ProgramFiles"), name);
    ASSERT_FALSE(under32.Path().empty());
    ASSERT_FALSE(under64.Path().empty());
    ASSERT_NE(under32.Path(), under64.Path());
    const Text recorded = "%ProgramFiles%\\" + name + "\\entryctl.exe";
    const Text as32 = under32.File("entryctl.exe");
    const Text as64 = under64.File("entryctl.exe");
    ScratchFolder scratch;
    const Text lnk = scratch.File("Tool.lnk");

    struct Case {
        const char* name;
        bool toolIn32;
        bool toolIn64;
        bool recordedRelative;
        Text expected;
    };
    const Case cases[] = {
        {"a 32-bit installer's shortcut", true, false, true, as32},
        {"the tool in both folders: as a 32-bit program reads it", true, true, true, as32},
        {"a 64-bit installer's shortcut keeps its target", false, true, true, as64},
        {"the tool in neither folder: as this program reads it", false, false, true, as64},
        {"a shortcut that records no relative target", true, false, false, as64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(as32.c_str());
        DeleteFileA(as64.c_str());
        if (c.toolIn32) {
            ASSERT_TRUE(WriteWholeFile(as32, "x"));
        }
        if (c.toolIn64) {
            ASSERT_TRUE(WriteWholeFile(as64, "x"));
        }
        ASSERT_TRUE(WriteShortcutFile(lnk, as64));
        if (c.recordedRelative) {
            ASSERT_TRUE(AddEnvironmentTarget(lnk, recorded));
        }
        EXPECT_EQ(ShortcutTarget(lnk), c.expected);
    }
}

}  // namespace
