// The settings file's texts: the folder as stored, and which option a stored text selects.

#include "app/program/portable/SettingsText.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

TEST(SettingsTextTest, TheFolderIsStoredUpToItsFirstLineBreak) {
    struct Case {
        const char* name;
        Text folder;
        Text stored;
    } cases[] = {
        {"plain", "C:\\Backups", "C:\\Backups"},
        {"empty stays empty", "", ""},
        {"spaces, quotes and brackets stay", " \"C:\\[x] = y\" ", " \"C:\\[x] = y\" "},
        {"double-byte folder", "D:\\\xB1\xB8\xB7\xDD", "D:\\\xB1\xB8\xB7\xDD"},
        {"cut at a line feed", "C:\\a\n[Options]", "C:\\a"},
        {"cut at a carriage return", "C:\\a\rOption=1", "C:\\a"},
        {"cut at the first of several", "C:\\a\r\nb\nc", "C:\\a"},
        {"a line break first leaves nothing", "\r\nC:\\a", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FolderTextForSettings(c.folder), c.stored);
    }
}

TEST(SettingsTextTest, OnlyTheExactDigitsSelectAnOption) {
    struct Case {
        Text stored;
        int option;
    } cases[] = {
        {"1", 1}, {"2", 2}, {"3", 3}, {"4", 0}, {"0", 0}, {"", 0}, {" 1", 0}, {"1 ", 0}, {"01", 0}, {"\xA3\xB1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(OptionFromSettingsText(c.stored), c.option);
    }
}

}  // namespace

// The [Tool] keys: a value that cannot be used gives the key's default and one line for the log.
TEST(SettingsTextTest, TheToolKeysGiveTheRulesOrTheirDefaultsWithALine) {
    struct Case {
        const char* name;
        std::optional<Text> codes;
        std::optional<Text> hang;
        std::vector<uint32_t> expectedCodes;
        int expectedHang;
        size_t lines;                      // log lines about values not used
        std::vector<const char*> saying;   // texts those lines hold
    };
    const Case cases[] = {
        {"no keys", std::nullopt, std::nullopt, {0}, 600, 0, {}},
        {"a list with blanks and hexadecimal", Text(" 0, 3 ,0x10,4294967295 "), Text("30"), {0, 3, 16, 4294967295u},
         30, 0, {}},
        {"no hang limit", Text("0"), Text("0"), {0}, 0, 0, {}},
        {"the largest hang limit", std::nullopt, Text(" 86400 "), {0}, 86400, 0, {}},
        {"still running is no success", Text("0,259"), std::nullopt, {0}, 600, 1, {"SuccessExitCodes", "259"}},
        {"program not found is no success", Text("9009"), std::nullopt, {0}, 600, 1, {"9009"}},
        {"a word", Text("zero"), std::nullopt, {0}, 600, 1, {"\"zero\" is not an exit code"}},
        {"a negative code", Text("-1"), std::nullopt, {0}, 600, 1, {"\"-1\" is not"}},
        {"a code too large", Text("4294967296"), std::nullopt, {0}, 600, 1, {"\"4294967296\" is not"}},
        {"an empty piece", Text("0,,3"), std::nullopt, {0}, 600, 1, {"\"\" is not"}},
        {"an empty list", Text(""), std::nullopt, {0}, 600, 1, {"no code"}},
        {"a hang limit past a day", std::nullopt, Text("86401"), {0}, 600, 1, {"HangSeconds", "default of 600"}},
        {"a fraction", std::nullopt, Text("1.5"), {0}, 600, 1, {"HangSeconds"}},
        {"both in words", Text("x"), Text("ten"), {0}, 600, 2, {"SuccessExitCodes", "HangSeconds"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolSettings settings = ToolSettingsFromTexts(c.codes, c.hang);
        EXPECT_EQ(settings.policy.successCodes, c.expectedCodes);
        EXPECT_EQ(settings.policy.hangSeconds, c.expectedHang);
        EXPECT_EQ(settings.problems.size(), c.lines);
        Text all;
        for (const Text& line : settings.problems)
            all += line + "\n";
        for (const char* text : c.saying)
            EXPECT_NE(all.find(text), Text::npos) << all;
    }
}
