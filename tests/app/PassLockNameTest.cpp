// The name of the lock a program folder's passes share across copies of the program.

#include "app/PassLockName.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(PassLockNameTest, OneNamePerFolderThatAnyCopyCanUse) {
    const std::u16string folders[] = {
        u"C:\\TOOLS\\ENTRY KEEPER",
        u"C:\\TOOLS\\ENTRY KEEPER2",
        u"C:\\TOOLS\\ENTRY KEEPEQ",
        u"D:\\TOOLS\\ENTRY KEEPER",
        u"C:\\TOOLS\\\u5BA2\u6237",
        u"C:\\TOOLS\\\u5BA2\u6238",
        u"",
        std::u16string(2000, u'X'),
    };
    std::set<Text> names;
    for (const std::u16string& folder : folders) {
        const Text name = PassLockName(folder);
        SCOPED_TRACE(name);
        names.insert(name);
        EXPECT_EQ(name, PassLockName(folder)) << "the same folder always gives the same name";
        ASSERT_EQ(name.rfind(kPassLockNamePrefix, 0), 0u);
        const Text rest = name.substr(sizeof kPassLockNamePrefix - 1);
        EXPECT_EQ(rest.size(), 16u) << "a long folder does not make a long name";
        EXPECT_EQ(rest.find_first_not_of("0123456789abcdef"), Text::npos) << "no backslash, nothing but digits";
    }
    EXPECT_EQ(names.size(), std::size(folders));
}

TEST(PassLockNameTest, TheHashIsFixedSoCopiesOfEveryVersionAgree) {
    // 64-bit FNV-1a over the UTF-16 code units, low byte first. Reference values worked out
    // independently; a change here would let an older and a newer copy run passes side by side.
    EXPECT_EQ(PassLockName(u""), "Global\\EntryKeeper.Passes.cbf29ce484222325");
    EXPECT_EQ(PassLockName(u"A"), "Global\\EntryKeeper.Passes.0908a207b5a15704");
    EXPECT_EQ(PassLockName(u"C:\\TOOLS"), "Global\\EntryKeeper.Passes.7048c0413070238b");
}

}  // namespace
