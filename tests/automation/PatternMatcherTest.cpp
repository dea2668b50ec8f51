// The pattern matcher over the system's regular expression engine.

#include <gtest/gtest.h>

#include "automation/PatternMatcher.h"

namespace {

// Code page 936: two double-byte characters.
const Text kTwoWide = "\xD6\xD0\xCE\xC4";

TEST(PatternMatcherTest, SwitchesFollowTheOptionalArguments) {
    // Two lines that start with the letters in either case, after a first line that does not.
    const Text subject = "x\nAB\nab";
    struct Case {
        const char* name;
        bool caseArg, switchTwo, switchFour;
        int32_t matches;
        Text first;
    };
    const Case cases[] = {
        {"defaults: any case, every match, line anchors", false, true, true, 2, "AB"},
        {"case respected", true, true, true, 1, "ab"},
        {"first match only", false, false, true, 1, "AB"},
        {"anchor at the start of the subject only", false, true, false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatternMatcher matcher;
        ASSERT_TRUE(matcher.Match("^ab", subject, c.caseArg, c.switchTwo, c.switchFour));
        EXPECT_EQ(matcher.MatchCount(), c.matches);
        EXPECT_EQ(matcher.MatchText(1), c.first);
    }
    PatternMatcher defaults;
    ASSERT_TRUE(defaults.Match("^ab``", "x\nAB``"));
    EXPECT_EQ(defaults.MatchCount(), 1);
    EXPECT_EQ(defaults.GetPattern(), "^ab``");  // unchanged without expandMarks
}

TEST(PatternMatcherTest, NoMatchIsSuccessWithNothingInside) {
    PatternMatcher matcher;
    EXPECT_EQ(matcher.GetPattern(), "");
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.Replace("x"), "");
    ASSERT_TRUE(matcher.Match("\\d", "no digits"));
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.GroupCount(), 0);
    EXPECT_EQ(matcher.MatchText(1), "");
    EXPECT_EQ(matcher.GroupText(1, 1), "");
}

TEST(PatternMatcherTest, RefusedPatternFails) {
    PatternMatcher matcher;
    EXPECT_FALSE(matcher.Match("(unclosed", "subject"));
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.MatchText(1), "");
}

TEST(PatternMatcherTest, SeventeenGroupsOfEveryRow) {
    Text pattern;
    for (int g = 0; g < 17; ++g)
        pattern += g == 0 ? "([^|\\n]*)" : "\\|([^|\\n]*)";
    Text source;
    for (int row = 1; row <= 3; ++row) {
        for (int cell = 1; cell <= 17; ++cell)
            source += (cell > 1 ? "|" : "") + std::to_string(row) + "." + std::to_string(cell);
        source += row == 2 ? "|" + kTwoWide + "\n" : "\n";  // an extra cell the pattern leaves out
    }
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.Match(pattern, source));
    ASSERT_EQ(matcher.MatchCount(), 3);
    EXPECT_EQ(matcher.GroupCount(), 17);
    for (int row = 1; row <= 3; ++row)
        for (int cell = 1; cell <= 17; ++cell)
            EXPECT_EQ(matcher.GroupText(row, cell), std::to_string(row) + "." + std::to_string(cell));
    EXPECT_EQ(matcher.GroupText(1, 18), "");
    EXPECT_EQ(matcher.GroupText(4, 1), "");
}

TEST(PatternMatcherTest, PositionsAreByteOffsetsInTheSubject) {
    struct Case {
        const char* name;
        Text pattern, subject;
        int32_t matchNo, groupNo;  // groupNo 0: the whole match
        Text text;
        int32_t position;
        bool caseArg = false;
    };
    const Case cases[] = {
        {"ASCII subject", "b+", "aabbb", 1, 0, "bbb", 2},
        {"double-byte characters before the match", "key", kTwoWide + "key", 1, 0, "key", 4},
        // The engine's index 2 taken as a byte position falls on the second byte of a pair.
        {"search start inside a pair", "a", kTwoWide + "a", 1, 0, "a", 4},
        {"second match after double-byte text", "\\d", "1" + kTwoWide + "2", 2, 0, "2", 5},
        {"group of a later match", "(\\w)=(\\w)", "a=b " + kTwoWide + " c=d", 2, 2, "d", 11},
        // The group's text also stands earlier inside its match: that earlier place is reported.
        {"group text earlier in its match", "a(b)-(b)", "xx ab-b", 1, 2, "b", 4},
        {"empty group text", "a(x?)b", "zab", 1, 1, "", 0},
        // The search starts one byte early; it must not take the other case's letter there.
        {"letter case respected by the search", "b", "Bb", 1, 0, "b", 1, true},
        {"letter case ignored by the engine, exact search", "B", "bB", 1, 0, "b", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatternMatcher matcher;
        ASSERT_TRUE(matcher.Match(c.pattern, c.subject, c.caseArg));
        int32_t position = -99;
        const Text text = c.groupNo == 0 ? matcher.MatchText(c.matchNo, &position)
                                         : matcher.GroupText(c.matchNo, c.groupNo, &position);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(position, c.position);
    }
    // Nothing of an empty subject remains to search in. (First match only: under Wine the engine
    // brings the process down when it collects every match and one of them is empty.)
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.Match("x*", "", false, false));
    int32_t position = 0;
    EXPECT_EQ(matcher.MatchText(1, &position), "");
    EXPECT_EQ(position, -2);
    // A match number outside the collection: empty text, its index read as 0.
    ASSERT_TRUE(matcher.Match("b", "abc"));
    EXPECT_EQ(matcher.MatchText(2, &position), "");
    EXPECT_EQ(position, 0);
}

TEST(PatternMatcherTest, ReplaceAndExpandedMarks) {
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.Match("(\\d+)", "a1b22"));
    EXPECT_EQ(matcher.Replace("<$1>"), "a<1>b<22>");
    ASSERT_TRUE(matcher.Match("``(\\w+)``", "say \"hi\" " + kTwoWide, false, true, true, true));
    EXPECT_EQ(matcher.GetPattern(), "\"(\\w+)\"");
    EXPECT_EQ(matcher.MatchText(1), "\"hi\"");
    EXPECT_EQ(matcher.GroupText(1, 1), "hi");
    EXPECT_EQ(matcher.Replace(kTwoWide), "say " + kTwoWide + " " + kTwoWide);
}

TEST(PatternMatcherTest, CopySharesMatchesAndOutlivesTheOriginal) {
    auto original = std::make_unique<PatternMatcher>();
    ASSERT_TRUE(original->Match("(\\w)(\\d)", "a1 b2"));
    std::unique_ptr<PatternMatcher> copy = original->Copy();
    original.reset();
    EXPECT_EQ(copy->MatchCount(), 2);
    EXPECT_EQ(copy->GroupText(2, 2), "2");
    EXPECT_EQ(copy->GetPattern(), "(\\w)(\\d)");
    EXPECT_EQ(copy->Replace("$2"), "1 2");
    copy->Nop();
    copy->Destroy();
    EXPECT_EQ(copy->MatchCount(), 0);
    EXPECT_EQ(copy->GetPattern(), "");
}

}  // namespace
