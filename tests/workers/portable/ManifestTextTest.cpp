// The manifest's text read back line by line: which lines can be restored from, and that every
// line is accounted for.

#include "workers/portable/ManifestText.h"

#include <gtest/gtest.h>

#include "common/portable/SharedTexts.h"

namespace {

TEST(ManifestTextTest, EveryLineIsReadInFileOrderAndOnlyTwoFieldsWithANameAreUsable) {
    const Text content = ManifestLine("C", "D:\\b\\C.ekb") + "\r\n" + "only a name\r\n" + "x\ty\tz\r\n" +
                         "\tD:\\b\\nameless.ekb\r\n" + "name\t\r\n" + ManifestLine("\xB1\xED", "D:\\b\\\xB1\xED.ekb") +
                         "last line without its end\tD:\\x.ekb";
    struct Want {
        bool usable;
        Text name, file, text;
    } want[] = {
        {true, "C", "D:\\b\\C.ekb", "C\tD:\\b\\C.ekb"},
        {false, "", "", ""},  // a blank line between two lines
        {false, "", "", "only a name"},
        {false, "", "", "x\ty\tz"},
        {false, "", "", "\tD:\\b\\nameless.ekb"},
        // An empty piece after the last separator is no field: a name without a path is one field.
        {false, "", "", "name\t"},
        {true, "\xB1\xED", "D:\\b\\\xB1\xED.ekb", "\xB1\xED\tD:\\b\\\xB1\xED.ekb"},
        {true, "last line without its end", "D:\\x.ekb", "last line without its end\tD:\\x.ekb"},
    };
    const std::vector<ManifestEntry> lines = ReadManifestLines(content);
    ASSERT_EQ(lines.size(), std::size(want));
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].usable, want[i].usable);
        EXPECT_EQ(lines[i].name, want[i].name);
        EXPECT_EQ(lines[i].file, want[i].file);
        EXPECT_EQ(lines[i].text, want[i].text);
    }
    EXPECT_TRUE(ReadManifestLines("").empty());
    // A name or path ending in a lone lead byte still ends at the separator after it: no code page
    // takes a tab or a line break as a second byte.
    const std::vector<ManifestEntry> leadBytes = ReadManifestLines("a\xFF\tD:\\x.ekb\xB0\r\nb\tD:\\y.ekb\r\n");
    ASSERT_EQ(leadBytes.size(), 2u);
    EXPECT_TRUE(leadBytes[0].usable);
    EXPECT_EQ(leadBytes[0].name, "a\xFF");
    EXPECT_EQ(leadBytes[0].file, "D:\\x.ekb\xB0");
    EXPECT_EQ(leadBytes[1].name, "b");
    EXPECT_EQ(ReadManifestLines(kLineSep).size(), 1u) << "one blank line";
}

}  // namespace
