// The file names inside one generation folder: each list line gets a name of its own, as Windows
// tells names apart, never one of the generation's own files, and never one that leads elsewhere.

#include "workers/portable/GenerationFileNames.h"

#include <gtest/gtest.h>

namespace {

TEST(GenerationFileNamesTest, EachLineGetsItsBackupFilesNameOrTheFirstFreeNumber) {
    struct Step {
        const char* name;
        Text backupPath;
        Text entryName;
        Text want;
    } steps[] = {
        {"the backup file's own name", "D:\\b\\A.ekb", "A", "A.ekb"},
        {"a kept line from another folder, in other letters", "E:\\old\\a.EKB", "a", "a~2.EKB"},
        {"a name that looks numbered already", "D:\\b\\A~2.ekb", "A~2", "A~2~2.ekb"},
        {"the same name a third time", "F:\\A.ekb", "A", "A~3.ekb"},
        {"a full-width letter", "D:\\b\\\xA3\xE1.ekb", "\xA3\xE1", "\xA3\xE1.ekb"},
        {"its capital", "E:\\old\\\xA3\xC1.ekb", "\xA3\xC1", "\xA3\xC1~2.ekb"},
        {"a character whose second byte is a backslash", "D:\\b\\\x95\\x.ekb", "\x95\\x", "\x95\\x.ekb"},
        {"forward slashes", "D:/b/B.ekb", "B", "B.ekb"},
        {"a name without extension", "D:\\b\\noext", "n", "noext"},
        {"that name again", "E:\\noext", "n", "noext~2"},
        {"another extension", "D:\\b\\C.bak", "C", "C.bak"},
        {"that name again", "E:\\C.BAK", "C", "C~2.BAK"},
        {"the generation's list", "D:\\b\\entrykeeper-BACKUPS.txt", "L", "entrykeeper-BACKUPS~2.txt"},
        {"the generation's digests", "D:\\b\\EntryKeeper-digests.txt", "D", "EntryKeeper-digests~2.txt"},
        {"the generation's record", "D:\\b\\EntryKeeper-generation.txt", "G", "EntryKeeper-generation~2.txt"},
        {"a stream of another file", "D:\\b\\x.ekb:hidden", "x", "x.ekb_hidden"},
        {"a path that ends in a separator", "D:\\b\\", "E", "E.ekb"},
        {"a path that ends in the parent folder", "D:\\b\\..", "F", "F.ekb"},
        {"a device name", "D:\\b\\CON.ekb", "CON", "_CON.ekb"},
    };
    GenerationFileNames names;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(names.Claim(s.backupPath, s.entryName), s.want);
    }
}

TEST(GenerationFileNamesTest, ANameTheSystemFindsTakenIsPassedOverOnTheNextClaim) {
    GenerationFileNames names;
    names.Reserve("b.ekb.12-3.partial");
    names.Reserve("B.EKB");
    EXPECT_EQ(names.Claim("D:\\b\\B.ekb", "B"), "B~2.ekb");
    // The system refused B~2.ekb (another file's short name): ask again.
    EXPECT_EQ(names.Claim("D:\\b\\B.ekb", "B"), "B~3.ekb");
    EXPECT_EQ(names.Claim("D:\\b\\b.ekb.12-3.partial", "b"), "b.ekb.12-3~2.partial");
}

}  // namespace
