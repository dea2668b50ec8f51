#include "toollink/ShortcutTarget.h"

#include <gtest/gtest.h>

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

}  // namespace
