#include "common/portable/LeadBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(LeadBytesTest, CodePage936KnowsItsLeadAndSecondBytes) {
    const LeadBytes& t = LeadBytes::CodePage936();
    EXPECT_TRUE(t.HasLeadBytes());
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const unsigned char byte = static_cast<unsigned char>(b);
        EXPECT_EQ(t.IsLead(byte), b >= 0x81 && b <= 0xFE);
        EXPECT_EQ(t.IsTrail(byte), (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE));
    }
    const LeadBytes& none = LeadBytes::CodePage1252();
    EXPECT_FALSE(none.HasLeadBytes());
    EXPECT_FALSE(none == t);
    EXPECT_TRUE(LeadBytes() == none);
}

TEST(LeadBytesTest, FindsTheFirstLeadByteWithoutItsSecondByte) {
    struct Case {
        const char* name;
        Text text;
        size_t incomplete;    // under code page 936
        size_t secondLength;  // CharLength at position 1 under code page 936
    } cases[] = {
        {"empty", "", Text::npos, 1},
        {"ASCII", "ab\\", Text::npos, 1},
        {"whole pairs", "x\xB1\xED\xB8\xF1", Text::npos, 2},
        {"pair with a backslash second byte", "x\x95\x5C", Text::npos, 2},
        {"pair with a bar second byte", "x\xD5\x7C", Text::npos, 2},
        {"lead byte at the end", "x\xD5", 1, 1},
        {"lead byte before a quote", "x\xD5\"y", 1, 1},
        {"lead byte before a space", "x\x81 y", 1, 1},
        {"lead byte before DEL", "x\xD5\x7F", 1, 1},
        {"lead byte before a zero", Text("x\xD5\0", 3), 1, 1},
        {"second lone lead after a whole pair", "\xB1\xED\xB8", 2, 2},
        {"0x80 and 0xFF stand alone", "x\x80\xFF", Text::npos, 1},
        {"lead byte taken as second byte", "\xB1\xB1\xB1", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LeadBytes& t = LeadBytes::CodePage936();
        EXPECT_EQ(t.FirstIncompleteCharacter(c.text), c.incomplete);
        EXPECT_EQ(t.IsWholeText(c.text), c.incomplete == Text::npos);
        if (c.text.size() > 1) {
            EXPECT_EQ(t.CharLength(c.text, 1), c.secondLength);
        }
        // Under a one-byte code page every text is whole, one byte a character.
        EXPECT_TRUE(LeadBytes::CodePage1252().IsWholeText(c.text));
        if (!c.text.empty()) {
            EXPECT_EQ(LeadBytes::CodePage1252().CharLength(c.text, 0), 1u);
        }
    }
}

TEST(LeadBytesTest, TablesAreBuiltFromRanges) {
    LeadBytes t;
    t.AddLeadRange(0x81, 0x9F).AddLeadRange(0xE0, 0xFC).AddTrailRange(0x40, 0x7E).AddTrailRange(0x80, 0xFC);
    EXPECT_TRUE(t.IsLead(0x81));
    EXPECT_TRUE(t.IsLead(0x9F));
    EXPECT_FALSE(t.IsLead(0xA0));
    EXPECT_TRUE(t.IsLead(0xFC));
    EXPECT_FALSE(t.IsLead(0xFD));
    EXPECT_FALSE(t.IsTrail(0xFD));
    EXPECT_EQ(t.FirstIncompleteCharacter("\x81\xFD"), 0u);
    EXPECT_TRUE(t.IsWholeText("\xA0\x81\x40"));
}

}  // namespace
