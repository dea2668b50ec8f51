// Finding the tool through the registry value and the desktop shortcuts of this build's own
// Wine prefix. Every test removes what it wrote there; the program runs serially because the
// registry value and the desktop are shared by every test program of the run.

#include "toollink/ToolLink.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/portable/SharedTexts.h"
#include "tests/support/TestPaths.h"
#include "tests/toollink/ShortcutFiles.h"
#include "toollink/PathQueries.h"
#include "toollink/portable/ToolLocation.h"
#include "toollink/portable/vocabulary/TargetCommandTexts.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"

namespace {

const Text kInstallKeyPath = Text(kInstallKey).substr(0, Text(kInstallKey).rfind('\\'));
const Text kInstallValueName = Text(kInstallKey).substr(Text(kInstallKey).rfind('\\') + 1);

// The install value under HKLM in one view of the registry: the 32-bit view is where a 32-bit
// installer writes it on 64-bit Windows, the 64-bit view where a 64-bit one does. A value left
// by an earlier run is removed first; keys it had to create are removed with it.
class InstallValue {
public:
    explicit InstallValue(REGSAM view) : view_(view) { Remove(); }
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

    // The value as the other view shows it: nothing, when the two views are really apart.
    bool VisibleIn(REGSAM otherView) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath.c_str(), 0, KEY_QUERY_VALUE | otherView, &key) !=
            ERROR_SUCCESS)
            return false;
        const bool found =
            RegQueryValueExA(key, kInstallValueName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(key);
        return found;
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
            if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr, &key,
                                &disposition) != ERROR_SUCCESS)
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
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath.c_str(), 0, KEY_SET_VALUE | view_, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, kInstallValueName.c_str());
            RegCloseKey(key);
        }
        for (auto it = created_.rbegin(); it != created_.rend(); ++it)
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, it->c_str(), view_, 0);
        created_.clear();
    }

    REGSAM view_;
    std::vector<Text> created_;
};

// Leaves the folder that locating the tool made the current directory, so that a folder of the
// test can be removed: declared after the test's own folders, it goes before them.
class LeaveCurrentDirectory {
public:
    LeaveCurrentDirectory() = default;
    ~LeaveCurrentDirectory() { SetCurrentDirectoryA(BuiltProgramFolder().c_str()); }
    LeaveCurrentDirectory(const LeaveCurrentDirectory&) = delete;
    LeaveCurrentDirectory& operator=(const LeaveCurrentDirectory&) = delete;
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

    // Declared before the shortcuts and folders: both views are cleared before anything else is made.
    InstallValue install32_{KEY_WOW64_32KEY};
    InstallValue install_{KEY_WOW64_64KEY};
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
    // A variable that is the same for programs of both widths, in either view.
    for (InstallValue* install : {&install32_, &install_}) {
        SCOPED_TRACE(install == &install32_ ? "32-bit view" : "64-bit view");
        ClearToolLocation();
        ASSERT_TRUE(install->Write("%EK_TOOL_ROOT%", REG_EXPAND_SZ));
        ToolLink link = MakeLink();
        EXPECT_EQ(link.FindToolDir(), folder);
        EXPECT_EQ(ToolPath(), folder + kToolExeName);
        ASSERT_TRUE(install->Write(""));
    }
    SetEnvironmentVariableA("EK_TOOL_ROOT", nullptr);
}

TEST_F(ToolLinkLocationTest, ValueInThe32BitViewIsReadFirstThenThe64BitView) {
    // Install folders (value) with the tool in their kInstallSubdir, and the target of a shortcut.
    const Text root32 = scratch_.File("installed by a 32-bit installer");
    const Text root64 = scratch_.File("installed by a 64-bit installer");
    const Text rootWithoutTool = scratch_.File("tool removed");
    const Text tool32 = MakeToolFolder("installed by a 32-bit installer" + Text(kInstallSubdir));
    const Text tool64 = MakeToolFolder("installed by a 64-bit installer" + Text(kInstallSubdir));
    const Text shortcutFolder = MakeToolFolder("shortcut target");
    ASSERT_TRUE(shortcuts_.Add(kShortcutName1, shortcutFolder + kToolExeName));

    struct Case {
        const char* name;
        std::optional<Text> in32;  // nullopt: no value in that view
        std::optional<Text> in64;
        Text expectedDir;
        bool located;
    };
    const Case cases[] = {
        {"only in the 32-bit view", root32, std::nullopt, tool32, true},
        {"only in the 64-bit view", std::nullopt, root64, tool64, true},
        {"in both with different folders: the 32-bit view wins", root32, root64, tool32, true},
        // The first value found is used, as by a 32-bit program, even when the tool is gone there.
        {"in both, the tool gone from the 32-bit view's folder", rootWithoutTool, root64,
         rootWithoutTool + kInstallSubdir, false},
        {"empty text in the 32-bit view counts as no value", Text(), root64, tool64, true},
        {"in neither: the desktop shortcut", std::nullopt, std::nullopt, shortcutFolder, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearToolLocation();
        InstallValue in32(KEY_WOW64_32KEY);
        InstallValue in64(KEY_WOW64_64KEY);
        if (c.in32) {
            ASSERT_TRUE(in32.Write(*c.in32));
        }
        if (c.in64) {
            ASSERT_TRUE(in64.Write(*c.in64));
        }
        if (c.in32 && !c.in64) {
            ASSERT_FALSE(in32.VisibleIn(KEY_WOW64_64KEY)) << "the two views are one in this prefix";
        }

        ToolLink link = MakeLink();
        EXPECT_EQ(ToolDir(), c.expectedDir);
        EXPECT_EQ(ToolPath(), c.located ? c.expectedDir + kToolExeName : Text());
        EXPECT_EQ(link.FindToolDir(), c.located ? c.expectedDir : Text());
    }

    // A value of another kind than text in the 32-bit view counts as no value either.
    ClearToolLocation();
    InstallValue in32(KEY_WOW64_32KEY);
    InstallValue in64(KEY_WOW64_64KEY);
    ASSERT_TRUE(in32.WriteNumber(7));
    ASSERT_TRUE(in64.Write(root64));
    ToolLink link = MakeLink();
    EXPECT_EQ(ToolPath(), tool64 + kToolExeName);
}

TEST_F(ToolLinkLocationTest, ProgramFilesInAValueMeansTheFolderOfProgramsOfItsViewsWidth) {
    // A 32-bit installer that records "%ProgramFiles%\Tool" means "Program Files (x86)\Tool";
    // a 64-bit installer means "Program Files\Tool". Folders of this test in both, each holding
    // the tool, so only the right expansion finds the right one.
    const Text programFiles32 = EnvironmentFolder("ProgramFiles(x86)");
    const Text programFiles64 = EnvironmentFolder("ProgramFiles");
    ASSERT_FALSE(programFiles32.empty());
    ASSERT_NE(programFiles32, programFiles64);
    // The same folder name in both, as one tool installed for either width would have.
    const Text name = "EntryKeeper test tool " + std::to_string(GetCurrentProcessId());
    ScratchFolder under32(programFiles32, name);
    ScratchFolder under64(programFiles64, name);
    LeaveCurrentDirectory leave;
    for (const ScratchFolder* folder : {&under32, &under64}) {
        ASSERT_FALSE(folder->Path().empty());
        ASSERT_TRUE(CreateDirectoryA((folder->Path() + kInstallSubdir).c_str(), nullptr));
        ASSERT_TRUE(WriteWholeFile(folder->Path() + kInstallSubdir + kToolExeName, "stand-in"));
    }
    const Text value = "%ProgramFiles%\\" + name;

    struct Case {
        const char* name;
        InstallValue* install;
        Text value;
        Text expectedDir;
    };
    const Case cases[] = {
        {"32-bit view", &install32_, value, under32.Path() + kInstallSubdir},
        {"64-bit view", &install_, value, under64.Path() + kInstallSubdir},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearToolLocation();
        ASSERT_TRUE(c.install->Write(c.value, REG_EXPAND_SZ));
        ToolLink link = MakeLink();
        EXPECT_EQ(ToolDir(), c.expectedDir);
        EXPECT_EQ(ToolPath(), c.expectedDir + kToolExeName);
        ASSERT_TRUE(c.install->Write(""));
    }
}

TEST_F(ToolLinkLocationTest, ToolOfA32BitInstallerIsFoundThroughItsDesktopShortcut) {
    // The installer put the tool under "Program Files (x86)" and a shortcut on the desktop that
    // records "%ProgramFiles%\...": the shell of 64-bit Windows reads it to this 64-bit program
    // as "Program Files\...", where there is no tool.
    const Text name = "EntryKeeper shortcut tool " + std::to_string(GetCurrentProcessId());
    ScratchFolder installed(EnvironmentFolder("ProgramFiles(x86)"), name);
    LeaveCurrentDirectory leave;
    ASSERT_FALSE(installed.Path().empty());
    const Text toolFolder = installed.Path() + kInstallSubdir;
    ASSERT_TRUE(CreateDirectoryA(toolFolder.c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(toolFolder + kToolExeName, "stand-in"));
    const Text relative = Text("\\") + name + kInstallSubdir + kToolExeName;
    ASSERT_TRUE(shortcuts_.Add(kShortcutName1, EnvironmentFolder("ProgramFiles") + relative));
    ASSERT_TRUE(AddEnvironmentTarget(SpecialFolder(0) + kShortcutName1, "%ProgramFiles%" + relative));

    ToolLink link = MakeLink();
    EXPECT_EQ(ToolDir(), toolFolder);
    EXPECT_EQ(ToolPath(), toolFolder + kToolExeName);
    EXPECT_EQ(lines_.size(), 1u);  // located, so the targets were listed once
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
