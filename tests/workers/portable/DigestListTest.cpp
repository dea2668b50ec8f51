// A generation's digest list: written so that it reads back line for line, and read only when the
// whole file is sound, since a check that read half a list would call the rest intact or missing.

#include "workers/portable/DigestList.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

const Text kHashA = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const Text kHashB(64, 'f');

const std::vector<FileDigest> kDigests = {
    {"A", "A.ekb", 1234, kHashA},
    // Two lines may bear one name (the list may); each has a file of its own.
    {"A", "A~2.ekb", 0, kHashB},
    {"\xD6\xD0\xCE\xC4 & spaces", "\xD6\xD0\xCE\xC4 & spaces.ekb", UINT64_MAX, kHashA},
};
const Text kWritten =
    "A\tA.ekb\t1234\t" + kHashA + "\r\n" + "A\tA~2.ekb\t0\t" + kHashB + "\r\n" +
    "\xD6\xD0\xCE\xC4 & spaces\t\xD6\xD0\xCE\xC4 & spaces.ekb\t18446744073709551615\t" + kHashA + "\r\n";

TEST(DigestListTest, WritesOneTabSeparatedLinePerFileAndReadsItBack) {
    const Sha256 abc = {0xba, 0x78, 0x16, 0xbf, 0x8f, 0x01, 0xcf, 0xea, 0x41, 0x41, 0x40,
                        0xde, 0x5d, 0xae, 0x22, 0x23, 0xb0, 0x03, 0x61, 0xa3, 0x96, 0x17,
                        0x7a, 0x9c, 0xb4, 0x10, 0xff, 0x61, 0xf2, 0x00, 0x15, 0xad};
    EXPECT_EQ(Sha256Hex(abc), kHashA);

    EXPECT_EQ(DigestListText(kDigests), kWritten);
    Text problem = "untouched";
    EXPECT_EQ(ReadDigestList(kWritten, &problem), kDigests);
    EXPECT_EQ(problem, "untouched");
}

TEST(DigestListTest, RefusesToWriteALineThatWouldNotReadBack) {
    struct Case {
        const char* name;
        FileDigest line;
    } cases[] = {
        {"an empty name", {"", "A.ekb", 1, kHashA}},
        {"a tab in the name", {"a\tb", "A.ekb", 1, kHashA}},
        {"a line break in the name", {"a\r\nb", "A.ekb", 1, kHashA}},
        {"an empty file name", {"A", "", 1, kHashA}},
        {"a path for a file name", {"A", "D:\\b\\A.ekb", 1, kHashA}},
        {"a stream of another file", {"A", "A.ekb:x", 1, kHashA}},
        {"the parent folder", {"A", "..", 1, kHashA}},
        {"a digest in capitals", {"A", "A.ekb", 1, "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"}},
        {"a short digest", {"A", "A.ekb", 1, kHashA.substr(1)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DigestListText({kDigests[0], c.line}), "");
    }
    // Windows tells no file names apart by letter case, full-width letters included.
    EXPECT_EQ(DigestListText({{"A", "a.EKB", 1, kHashA}, {"B", "A.ekb", 2, kHashB}}), "");
    EXPECT_EQ(DigestListText({{"A", "\xA3\xE1.ekb", 1, kHashA}, {"B", "\xA3\xC1.ekb", 2, kHashB}}), "");
}

TEST(DigestListTest, ADamagedListIsNeverReadInPart) {
    const Text first = "A\tA.ekb\t1234\t" + kHashA + "\r\n";
    struct Case {
        const char* name;
        Text content;
        const char* where;  // the line the problem names
    } cases[] = {
        {"empty", "", "no line"},
        {"cut inside the last line", kWritten.substr(0, kWritten.size() - 10), "line 3"},
        {"without the last line end", kWritten.substr(0, kWritten.size() - 2), "line 3"},
        {"line feeds only", "A\tA.ekb\t1234\t" + kHashA + "\n", "line 1"},
        {"a carriage return inside a line", first + "B\rx\tB.ekb\t1\t" + kHashA + "\r\n", "line 2"},
        {"a blank line", first + "\r\n", "line 2"},
        {"three fields", first + "B\tB.ekb\t" + kHashA + "\r\n", "line 2"},
        {"five fields", first + "B\tB.ekb\t1\t" + kHashA + "\tx\r\n", "line 2"},
        {"an empty name", first + "\tB.ekb\t1\t" + kHashA + "\r\n", "line 2"},
        {"an empty file name", first + "B\t\t1\t" + kHashA + "\r\n", "line 2"},
        {"a path for a file name", first + "B\t..\\B.ekb\t1\t" + kHashA + "\r\n", "line 2"},
        {"a negative size", first + "B\tB.ekb\t-1\t" + kHashA + "\r\n", "line 2"},
        {"a size with a leading zero", first + "B\tB.ekb\t01\t" + kHashA + "\r\n", "line 2"},
        {"an empty size", first + "B\tB.ekb\t\t" + kHashA + "\r\n", "line 2"},
        {"a size past 64 bits", first + "B\tB.ekb\t18446744073709551616\t" + kHashA + "\r\n", "line 2"},
        {"a size with a blank", first + "B\tB.ekb\t 1\t" + kHashA + "\r\n", "line 2"},
        {"a digest in capitals", first + "B\tB.ekb\t1\tBA" + kHashA.substr(2) + "\r\n", "line 2"},
        {"a digest a digit short", first + "B\tB.ekb\t1\t" + kHashA.substr(1) + "\r\n", "line 2"},
        {"a digest with a blank after it", first + "B\tB.ekb\t1\t" + kHashA + " \r\n", "line 2"},
        {"one file on two lines", first + "B\ta.EKB\t1\t" + kHashA + "\r\n", "line 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Text problem;
        EXPECT_FALSE(ReadDigestList(c.content, &problem).has_value());
        EXPECT_NE(problem.find(c.where), Text::npos) << problem;
    }
}

}  // namespace
