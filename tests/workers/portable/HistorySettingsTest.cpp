// The [History] counts and /keep:N as values: what each text gives, and that a value that cannot
// be used keeps its default and is reported, never turning history off by accident.

#include "workers/portable/HistorySettings.h"

#include <gtest/gtest.h>

namespace {

TEST(HistorySettingsTest, MissingKeysKeepTheDefaultRule) {
    const HistorySettings settings = HistorySettingsFromTexts(std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(settings.rule.keepLast, 10);
    EXPECT_EQ(settings.rule.keepDaily, 14);
    EXPECT_EQ(settings.rule.keepWeekly, 8);
    EXPECT_EQ(settings.rule.keepMonthly, 12);
    EXPECT_EQ(settings.rule.keepNewest, 0);
    EXPECT_FALSE(settings.rule.HistoryOff());
    EXPECT_TRUE(settings.problems.empty());
}

TEST(HistorySettingsTest, EachCountIsAWholeNumberFromZeroToTheLargest) {
    struct Case {
        const char* name;
        Text value;
        int want;  // -1: not used, the default applies
    } cases[] = {
        {"zero", "0", 0},
        {"a count", "7", 7},
        {"blanks around", " \t7 ", 7},
        {"the largest", "9999", 9999},
        {"past the largest", "10000", -1},
        {"far past 32 bits", "99999999999999999999", -1},
        {"negative", "-1", -1},
        {"a sign", "+7", -1},
        {"empty", "", -1},
        {"blanks only", "  ", -1},
        {"a fraction", "1.5", -1},
        {"hexadecimal", "0x10", -1},
        {"a word after", "7 days", -1},
        {"full-width digits", "\xA3\xB7", -1},
    };
    const int defaults[] = {10, 14, 8, 12};
    const char* const keys[] = {"KeepLast", "KeepDaily", "KeepWeekly", "KeepMonthly"};
    for (const Case& c : cases) {
        for (int key = 0; key < 4; ++key) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << keys[key]);
            std::optional<Text> values[4];
            values[key] = c.value;
            const HistorySettings settings = HistorySettingsFromTexts(values[0], values[1], values[2], values[3]);
            const int counts[] = {settings.rule.keepLast, settings.rule.keepDaily, settings.rule.keepWeekly,
                                  settings.rule.keepMonthly};
            for (int other = 0; other < 4; ++other)
                EXPECT_EQ(counts[other], other == key && c.want >= 0 ? c.want : defaults[other]);
            if (c.want >= 0) {
                EXPECT_TRUE(settings.problems.empty());
            } else {
                ASSERT_EQ(settings.problems.size(), 1u);
                EXPECT_NE(settings.problems[0].find(Text(keys[key]) + " under [History] (\"" + c.value + "\")"),
                          Text::npos)
                    << settings.problems[0];
            }
        }
    }
}

TEST(HistorySettingsTest, AllFourAtZeroTurnHistoryOffButABadValueDoesNot) {
    EXPECT_TRUE(HistorySettingsFromTexts("0", "0", "0", "0").rule.HistoryOff());
    const HistorySettings oneBad = HistorySettingsFromTexts("0", "0", "0", "none");
    EXPECT_FALSE(oneBad.rule.HistoryOff());
    EXPECT_EQ(oneBad.rule.keepMonthly, 12);
}

TEST(HistorySettingsTest, KeepForOneRunIsAtLeastOne) {
    struct Case {
        Text value;
        std::optional<int> want;
    } cases[] = {
        {"1", 1}, {"2", 2}, {" 3 ", 3}, {"9999", 9999}, {"0", std::nullopt}, {"00", std::nullopt},
        {"", std::nullopt}, {"-1", std::nullopt}, {"10000", std::nullopt}, {"2x", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ParseKeepCount(c.value), c.want);
    }
}

}  // namespace
