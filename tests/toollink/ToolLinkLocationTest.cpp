// Finding the tool through the registry value and the desktop shortcuts of this build's own
// Wine prefix. Every test removes what it wrote there; the program runs serially because the
// registry value and the desktop are shared by every test program of the run.

#include "toollink/ToolLink.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/SharedTexts.h"
#include "tests/support/TestPaths.h"
#include "tests/toollink/ShortcutFiles.h"
#include "toollink/PathQueries.h"
#include "toollink/ToolLocation.h"
#include "toollink/vocabulary/TargetCommandTexts.h"
#include "toollink/vocabulary/ToolInstallTexts.h"

namespace {

const Text kInstallKeyPath = Text(kInstallKey).substr(0, Text(kInstallKey).rfind('\\'));
const Text kInstallValueName = Text(kInstallKey).substr(Text(kInstallKey).rfind('\\') + 1);

Text CurrentDirectory() {
    char buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

// The install value under HKLM (64-bit view). Keys it had to create are removed with it.
class InstallValue {
public:
    InstallValue() { Remove(); }
    ~InstallValue() { Remove(); }
    InstallValue(const InstallValue&) = delete;
    InstallValue& operator=(const InstallValue&) = delete;

    bool Write(const Text& value, DWORD type = REG_SZ) {
        HKEY key = nullptr;
        if (!OpenCreating(&key))
            return false;
        const DWORD size = static_cast<DWORD>(value.size() + 1);
        LONG status = RegSetValueExA(key, kInstallValueName.c_str(), 0, type,
                                     reinterpret_cast<const BYTE*>(value.c_str()), size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

    bool WriteNumber(DWORD number) {
        HKEY key = nullptr;
        if (!OpenCreating(&key))
            return false;
        LONG status = RegSetValueExA(key, kInstallValueName.c_str(), 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&number), sizeof number);
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

private:
    // Creates the key path one level at a time, remembering the levels that did not exist.
    bool OpenCreating(HKEY* out) {
        Text path;
        size_t start = 0;
        while (start <= kInstallKeyPath.size()) {
            size_t end = kInstallKeyPath.find('\\', start);
            if (end == Text::npos)
                end = kInstallKeyPath.size();
            path = kInstallKeyPath.substr(0, end);
            HKEY key = nullptr;
            DWORD disposition = 0;
            if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                                nullptr, &key, &disposition) != ERROR_SUCCESS)
                return false;
            if (disposition == REG_CREATED_NEW_KEY)
                created_.push_back(path);
            if (end == kInstallKeyPath.size()) {
                *out = key;
                return true;
            }
            RegCloseKey(key);
            start = end + 1;
        }
        return false;
    }

    void Remove() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, kInstallValueName.c_str());
            RegCloseKey(key);
        }
        for (auto it = created_.rbegin(); it != created_.rend(); ++it)
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, it->c_str(), KEY_WOW64_64KEY, 0);
        created_.clear();
    }

    std::vector<Text> created_;
};

// Shortcut files placed on the desktop, removed again (with the desktop folder when it had to
// be made).
class DesktopShortcuts {
public:
    DesktopShortcuts() {
        desktop_ = SpecialFolder(0);
        if (!desktop_.empty() && !IsDirectory(desktop_))
            madeDesktop_ = CreateDirectoryA(desktop_.c_str(), nullptr) != FALSE;
        for (const char* name : {kShortcutName1, kShortcutName2, kShortcutName3, kShortcutName4})
            DeleteFileA((desktop_ + name).c_str());
    }
    ~DesktopShortcuts() {
        for (const Text& path : written_)
            DeleteFileA(path.c_str());
        if (madeDesktop_)
            RemoveDirectoryA(desktop_.c_str());
    }
    DesktopShortcuts(const DesktopShortcuts&) = delete;
    DesktopShortcuts& operator=(const DesktopShortcuts&) = delete;

    bool Add(const Text& name, const Text& target) {
        const Text path = desktop_ + name;
        written_.push_back(path);
        return WriteShortcutFile(path, target);
    }

private:
    Text desktop_;
    bool madeDesktop_ = false;
    std::vector<Text> written_;
};

class ToolLinkLocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearToolLocation();
        ASSERT_FALSE(SpecialFolder(0).empty());
    }
    void TearDown() override {
        SetCurrentDirectoryA(BuiltProgramFolder().c_str());
        ClearToolLocation();
    }

    // A folder holding the tool's program (any bytes will do for finding it); returns the folder
    // with its closing separator.
    Text MakeToolFolder(const Text& subfolder) {
        Text folder = scratch_.Path();
        for (size_t start = 0; start < subfolder.size();) {
            size_t end = subfolder.find('\\', start);
            if (end == Text::npos)
                end = subfolder.size();
            if (end > start) {
                folder.append("\\").append(subfolder, start, end - start);
                CreateDirectoryA(folder.c_str(), nullptr);
            }
            start = end + 1;
        }
        folder += "\\";
        EXPECT_TRUE(WriteWholeFile(folder + kToolExeName, "stand-in"));
        return folder;
    }

    ToolLink MakeLink() {
        return ToolLink([this](const Text& line, const ChunkObserver*, bool) {
            lines_.push_back(line);
            return Text();
        });
    }

    InstallValue install_;
    DesktopShortcuts shortcuts_;
    ScratchFolder scratch_;
    std::vector<Text> lines_;
};

TEST_F(ToolLinkLocationTest, RegistryValueSetsTheFolderEvenWhenTheToolIsNotThere) {
    ASSERT_TRUE(install_.Write(scratch_.Path()));
    // A shortcut is not looked at while the value exists.
    const Text elsewhere = MakeToolFolder("elsewhere");
    ASSERT_TRUE(shortcuts_.Add(kShortcutName1, elsewhere + kToolExeName));
    SetToolPath("kept");

    ToolLink link = MakeLink();
    EXPECT_EQ(link.FindToolDir(), "");
    EXPECT_EQ(ToolDir(), scratch_.Path() + kInstallSubdir);
    EXPECT_FALSE(link.Locate());
    EXPECT_EQ(ToolPath(), "kept");
    EXPECT_TRUE(lines_.empty());  // nothing located, so no listing at start
}

TEST_F(ToolLinkLocationTest, RegistryValueWithTheToolLocatesItAndListsTargetsOnce) {
    const Text folder = MakeToolFolder(kInstallSubdir);
    ASSERT_TRUE(install_.Write(scratch_.Path()));

    ToolLink link = MakeLink();
    const Text program = folder + kToolExeName;
    EXPECT_EQ(ToolPath(), program);
    ASSERT_EQ(lines_.size(), 1u);
    EXPECT_EQ(lines_[0], kPathMark + program + kListTail);

    EXPECT_EQ(link.FindToolDir(), folder);
    EXPECT_EQ(ToolDir(), folder);
    SetCurrentDirectoryA(BuiltProgramFolder().c_str());
    EXPECT_TRUE(link.Locate());
    EXPECT_EQ(ToolPath(), program);
    EXPECT_EQ(CurrentDirectory() + "\\", folder);
}

TEST_F(ToolLinkLocationTest, LocateWithAGivenPathTakesItOnlyWhenItExistsAndIsSafe) {
    const Text folder = MakeToolFolder(kInstallSubdir);
    ASSERT_TRUE(install_.Write(scratch_.Path()));
    ToolLink link = MakeLink();
    const Text located = ToolPath();

    const Text other = scratch_.File("other tool.exe");
    ASSERT_TRUE(WriteWholeFile(other, "x"));
    const Text percent = scratch_.File("100%.exe");  // a legal file name, but not on a command line
    ASSERT_TRUE(WriteWholeFile(percent, "x"));

    struct GivenCase {
        const char* name;
        Text path;
        bool located;
    };
    const GivenCase cases[] = {
        {"missing file", scratch_.File("missing.exe"), false},
        {"existing file with a percent sign", percent, false},
        {"wildcard that would match the tool", folder + "*.exe", false},
        {"existing file", other, true},
    };
    for (const GivenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Text before = ToolPath();
        EXPECT_EQ(link.Locate(&c.path), c.located);
        EXPECT_EQ(ToolPath(), c.located ? c.path : before);
    }
    EXPECT_NE(located, ToolPath());
}

TEST_F(ToolLinkLocationTest, ExpandableRegistryValueIsExpanded) {
    const Text folder = MakeToolFolder(kInstallSubdir);
    ASSERT_TRUE(SetEnvironmentVariableA("EK_TOOL_ROOT", scratch_.Path().c_str()));
    ASSERT_TRUE(install_.Write("%EK_TOOL_ROOT%", REG_EXPAND_SZ));
    ToolLink link = MakeLink();
    EXPECT_EQ(link.FindToolDir(), folder);
    EXPECT_EQ(ToolPath(), folder + kToolExeName);
    SetEnvironmentVariableA("EK_TOOL_ROOT", nullptr);
}

TEST_F(ToolLinkLocationTest, SecondShortcutWinsWhenTheFirstIsMissing) {
    const Text two = MakeToolFolder("two");
    const Text three = MakeToolFolder("three");
    const Text four = MakeToolFolder("four");
    ASSERT_TRUE(shortcuts_.Add(kShortcutName2, two + kToolExeName));
    ASSERT_TRUE(shortcuts_.Add(kShortcutName3, three + kToolExeName));
    ASSERT_TRUE(shortcuts_.Add(kShortcutName4, four + kToolExeName));

    ToolLink link = MakeLink();
    EXPECT_EQ(ToolDir(), two);
    EXPECT_EQ(ToolPath(), two + kToolExeName);
    EXPECT_EQ(link.FindToolDir(), two);
    EXPECT_EQ(ToolDir(), two);
}

TEST_F(ToolLinkLocationTest, ShortcutToAFolderWithoutTheToolSetsTheFolderOnly) {
    const Text folder = scratch_.Path() + "\\";
    const Text readme = folder + "readme.txt";
    ASSERT_TRUE(WriteWholeFile(readme, "x"));
    ASSERT_TRUE(shortcuts_.Add(kShortcutName1, readme));
    // A value of another kind than text counts as no value.
    ASSERT_TRUE(install_.WriteNumber(7));

    ToolLink link = MakeLink();
    EXPECT_EQ(link.FindToolDir(), "");
    EXPECT_EQ(ToolDir(), folder);
    EXPECT_FALSE(link.Locate());
    EXPECT_EQ(ToolPath(), "");
    EXPECT_TRUE(lines_.empty());
}

TEST_F(ToolLinkLocationTest, NeitherValueNorShortcutLeavesTheFolderAlone) {
    // Even a folder that does hold the tool, found by an earlier run, is not found again.
    const Text previous = MakeToolFolder("previous");
    SetToolDir(previous);
    ToolLink link = MakeLink();
    EXPECT_EQ(link.FindToolDir(), "");
    EXPECT_EQ(ToolDir(), previous);
    EXPECT_FALSE(link.Locate());
    const Text given = scratch_.Path();
    EXPECT_FALSE(link.Locate(&given));
    EXPECT_EQ(ToolPath(), "");
    EXPECT_TRUE(lines_.empty());
}

TEST_F(ToolLinkLocationTest, SelectTargetByIdEntersTheToolFolder) {
    const Text folder = MakeToolFolder(kInstallSubdir);
    ASSERT_TRUE(install_.Write(scratch_.Path()));
    ToolLink link = MakeLink();
    SetCurrentDirectoryA(BuiltProgramFolder().c_str());
    const Text id = "T7";
    EXPECT_TRUE(link.SelectTarget(0, &id));
    EXPECT_EQ(TargetId(), "T7");
    EXPECT_EQ(CurrentDirectory() + "\\", folder);
}

}  // namespace
