// Expanding environment references as this program sees its environment and as a 32-bit program
// on the same system sees its own. The system's own expansion is the yardstick.

#include "toollink/portable/EnvironmentReferences.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/TestPaths.h"
#include "toollink/ThirtyTwoBitView.h"

namespace {

Text SystemExpansion(const Text& text) {
    std::vector<char> buffer(32768);
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    EXPECT_GT(written, 0u);
    return Text(buffer.data());
}

std::optional<Text> ProcessVariable(const Text& name) {
    const Text value = EnvironmentFolder(name.c_str());
    return value.empty() ? std::nullopt : std::optional<Text>(value);
}

TEST(EnvironmentReferencesTest, ExpandsAsTheSystemDoes) {
    ASSERT_TRUE(SetEnvironmentVariableA("EK_A", "first"));
    ASSERT_TRUE(SetEnvironmentVariableA("EK_B", "second"));
    // Defined and undefined names side by side, unpaired and doubled percent signs, and text in
    // code page 936 around them ('%' is never the second byte of a character there).
    const char* inputs[] = {
        "",
        "no reference",
        "%EK_A%",
        "%ek_a%\\bin",
        "%EK_A%%EK_B%",
        "%EK_A%EK_B%",
        "%EK_NONE%EK_A%",
        "%EK_NONE%",
        "100%",
        "%",
        "%%",
        "%%EK_A%%",
        "a%EK_A",
        "%EK_A%%",
        "%EK_NONE%%EK_A%",
        "C:\\\xB3\xCC\xD0\xF2\\%EK_B%\\\xB9\xA4\xBE\xDF",
    };
    for (const char* input : inputs) {
        SCOPED_TRACE(input);
        EXPECT_EQ(ExpandReferences(input, ProcessVariable), SystemExpansion(input));
    }
    SetEnvironmentVariableA("EK_A", nullptr);
    SetEnvironmentVariableA("EK_B", nullptr);
}

TEST(EnvironmentReferencesTest, ThirtyTwoBitProgramsHaveTheirOwnProgramFolders) {
    struct Case {
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"ProgramFiles", "ProgramFiles(x86)"},
        {"PROGRAMFILES", "ProgramFiles(x86)"},
        {"CommonProgramFiles", "CommonProgramFiles(x86)"},
        {"commonprogramfiles", "CommonProgramFiles(x86)"},
        // The same for programs of both widths.
        {"ProgramFiles(x86)", "ProgramFiles(x86)"},
        {"ProgramW6432", "ProgramW6432"},
        {"SystemRoot", "SystemRoot"},
        {"ProgramFilesX", "ProgramFilesX"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ThirtyTwoBitSourceVariable(c.name), c.expected);
    }
}

TEST(EnvironmentReferencesTest, ExpandsAsA32BitProgramOnThisSystem) {
    const Text programFiles32 = EnvironmentFolder("ProgramFiles(x86)");
    const Text common32 = EnvironmentFolder("CommonProgramFiles(x86)");
    ASSERT_FALSE(programFiles32.empty());
    ASSERT_FALSE(common32.empty());
    ASSERT_NE(programFiles32, EnvironmentFolder("ProgramFiles"));
    struct Case {
        const char* name;
        Text input;
        Text expected;
    };
    const Case cases[] = {
        {"program files", "%ProgramFiles%\\Entryctl", programFiles32 + "\\Entryctl"},
        {"any letter case", "%programfiles%\\Entryctl", programFiles32 + "\\Entryctl"},
        {"common files", "%CommonProgramFiles%\\Tools", common32 + "\\Tools"},
        {"the 64-bit folder by its own name", "%ProgramW6432%", EnvironmentFolder("ProgramW6432")},
        {"a variable alike for both", "%SystemRoot%\\x", EnvironmentFolder("SystemRoot") + "\\x"},
        {"undefined", "%EK_NOT_DEFINED%\\x", "%EK_NOT_DEFINED%\\x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExpandAsThirtyTwoBitProgram(c.input), c.expected);
    }
}

}  // namespace
