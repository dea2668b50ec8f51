#include "workers/portable/PreviousManifest.h"

#include <gtest/gtest.h>

#include "workers/portable/ManifestText.h"

namespace {

TEST(PreviousManifestTest, OffersTheUsableLinesInPassOrderByteForByte) {
    // The file lists the last entry backed up first.
    const Text content = ManifestLine("C", "D:\\b\\C.ekb") + "\r\n" + ManifestLine("dup", "D:\\b\\dup~2.ekb") +
                         "x\ty\tz\r\n" + ManifestLine("B", "D:\\b\\B.ekb") + "\tD:\\b\\nameless.ekb\r\n" +
                         ManifestLine("dup", "D:\\b\\dup.ekb") + ManifestLine("A", "D:\\b\\A.ekb");
    const PreviousManifest previous(content);

    EXPECT_TRUE(previous.HasLines());
    std::vector<Text> names;
    for (const PreviousManifest::Line& line : previous.Lines()) {
        names.push_back(line.name);
        EXPECT_EQ(line.text, ManifestLine(line.name, line.path)) << "the line exactly as it stood";
    }
    EXPECT_EQ(names, (std::vector<Text>{"A", "dup", "B", "dup", "C"}));

    const auto dup = previous.LinesOf("dup");
    ASSERT_EQ(dup.size(), 2u);
    EXPECT_EQ(dup[0]->path, "D:\\b\\dup.ekb");
    EXPECT_EQ(dup[1]->path, "D:\\b\\dup~2.ekb");
    // Names are compared byte for byte: letter case counts.
    EXPECT_TRUE(previous.LinesOf("a").empty());
    EXPECT_TRUE(previous.LinesOf("").empty());
}

TEST(PreviousManifestTest, TellsAnEmptyFileFromOneWithoutUsableLines) {
    EXPECT_FALSE(PreviousManifest("").HasLines());
    const PreviousManifest damaged("only a name\r\n");
    EXPECT_TRUE(damaged.HasLines());
    EXPECT_TRUE(damaged.Lines().empty());
}

}  // namespace
