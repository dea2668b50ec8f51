// Finding the environment-relative target in the bytes of a shortcut file. Portable: the files
// are put together here in the published layout, and the test also runs natively under the
// sanitizers, where a read past the end of a file fails it.

#include "toollink/portable/ShortcutEnvironmentTarget.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Le16(uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

std::string Le32(uint32_t v) {
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}

std::string Utf16(const std::u16string& text) {
    std::string bytes;
    for (char16_t c : text)
        bytes += Le16(c);
    return bytes;
}

constexpr uint32_t kHasItemList = 0x1;
constexpr uint32_t kHasLocation = 0x2;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kIsUnicode = 0x80;
constexpr uint32_t kHasEnvironmentTarget = 0x200;

// The environment block: size 0x314, its signature, 260 bytes of code-page text, 260 UTF-16 units.
std::string EnvironmentBlock(const std::string& ansi, const std::u16string& wide) {
    std::string block = Le32(0x314) + Le32(0xA0000001);
    block += ansi.substr(0, 260);
    block.resize(8 + 260, '\0');
    block += Utf16(wide.substr(0, 260));
    block.resize(0x314, '\0');
    return block;
}

// Another extra block of `size` bytes (at least 8).
std::string OtherBlock(uint32_t signature, uint32_t size) {
    std::string block = Le32(size) + Le32(signature);
    block.resize(size, '\x5A');
    return block;
}

struct Layout {
    uint32_t flags = kHasItemList | kHasLocation | kIsUnicode | kHasEnvironmentTarget;
    std::string itemList = std::string(0x3E, '\x11') + Le16(0);  // items, then the closing zero
    std::string location = std::string(0x2D, '\x22');            // its size is put in front
    // The optional strings present (their flags must be in `flags`), in file order.
    std::vector<std::u16string> strings;
    std::vector<std::string> blocks;
};

std::string HeaderFor(uint32_t flags) {
    std::string header = Le32(0x4C);
    const unsigned char classId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                       0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    header.append(reinterpret_cast<const char*>(classId), 16);
    header += Le32(flags);
    header.resize(0x4C, '\0');
    return header;
}

std::string ShortcutFile(const Layout& layout) {
    std::string file = HeaderFor(layout.flags);
    if (layout.flags & kHasItemList)
        file += Le16(static_cast<uint32_t>(layout.itemList.size())) + layout.itemList;
    if (layout.flags & kHasLocation)
        file += Le32(static_cast<uint32_t>(layout.location.size() + 4)) + layout.location;
    for (const std::u16string& s : layout.strings) {
        file += Le16(static_cast<uint32_t>(s.size()));
        if (layout.flags & kIsUnicode) {
            file += Utf16(s);
        } else {
            for (char16_t c : s)
                file += static_cast<char>(c);
        }
    }
    for (const std::string& block : layout.blocks)
        file += block;
    return file + Le32(0);  // the terminal block
}

const std::string kAnsiTarget = "%ProgramFiles%\\Entryctl\\bin\\entryctl.exe";
const std::u16string kWideTarget = u"%ProgramFiles%\\Entryctl\\bin\\entryctl.exe";

Layout ShellLayout() {
    Layout layout;
    layout.flags |= kHasWorkingDir;
    layout.strings = {u"C:\\Program Files (x86)\\Entryctl\\bin"};
    layout.blocks = {OtherBlock(0xA0000003, 0x60), EnvironmentBlock(kAnsiTarget, kWideTarget),
                     OtherBlock(0xA000000B, 0x1C)};
    return layout;
}

TEST(ShortcutEnvironmentTargetTest, FindsTheTargetPastEveryPartThatCanComeBeforeIt) {
    struct Case {
        const char* name;
        Layout layout;
    };
    std::vector<Case> cases;
    cases.push_back({"as the shell writes it", ShellLayout()});
    {
        Layout l = ShellLayout();
        l.flags &= ~kHasItemList;
        cases.push_back({"without an item list", l});
    }
    {
        Layout l = ShellLayout();
        l.flags &= ~kHasLocation;
        cases.push_back({"without a location block", l});
    }
    {
        Layout l = ShellLayout();
        l.flags |= 0x4 | 0x8 | kHasArguments | 0x40;
        l.strings = {u"name", u"..\\relative", u"C:\\dir", u"--arguments \u4E2D", u"icon.ico"};
        cases.push_back({"with all five strings", l});
    }
    {
        Layout l = ShellLayout();
        l.flags &= ~kIsUnicode;
        l.flags |= kHasArguments;
        l.strings = {u"C:\\dir", u"args"};
        cases.push_back({"with strings in the code page", l});
    }
    {
        Layout l = ShellLayout();
        l.blocks = {EnvironmentBlock(kAnsiTarget, kWideTarget)};
        cases.push_back({"as the only block", l});
    }
    {
        Layout l = ShellLayout();
        // A block with the signature but not the block's size is some other block.
        l.blocks.insert(l.blocks.begin(), OtherBlock(0xA0000001, 0x20));
        cases.push_back({"after a block of another size with the same signature", l});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<EnvironmentTarget> target = ShortcutEnvironmentTarget(ShortcutFile(c.layout));
        ASSERT_TRUE(target.has_value());
        EXPECT_EQ(target->ansi, kAnsiTarget);
        EXPECT_TRUE(target->wide == kWideTarget);
    }
}

TEST(ShortcutEnvironmentTargetTest, EachFormEndsAtItsFirstZeroOrItsField) {
    const std::string longAnsi(300, 'a');
    const std::u16string longWide(300, u'\u4E2D');
    Layout layout = ShellLayout();
    layout.blocks = {EnvironmentBlock(longAnsi, longWide)};
    std::optional<EnvironmentTarget> target = ShortcutEnvironmentTarget(ShortcutFile(layout));
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->ansi, std::string(260, 'a'));
    EXPECT_TRUE(target->wide == std::u16string(260, u'\u4E2D'));

    layout.blocks = {EnvironmentBlock(std::string("first\0second", 12), std::u16string(u"one\0two", 7))};
    target = ShortcutEnvironmentTarget(ShortcutFile(layout));
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->ansi, "first");
    EXPECT_TRUE(target->wide == u"one");
}

TEST(ShortcutEnvironmentTargetTest, GivesNothingWithoutAWholeAnnouncedTarget) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::vector<Case> cases;
    const std::string good = ShortcutFile(ShellLayout());
    cases.push_back({"empty", ""});
    cases.push_back({"plain text", "plain text, not a shortcut, but long enough to hold a whole header of 76 bytes."});
    {
        std::string b = good;
        b[0] = 0x4D;
        cases.push_back({"another header size", b});
    }
    {
        std::string b = good;
        b[4] = 0x02;
        cases.push_back({"another class id", b});
    }
    {
        Layout l = ShellLayout();
        l.flags &= ~kHasEnvironmentTarget;
        cases.push_back({"block present but not announced", ShortcutFile(l)});
    }
    {
        Layout l = ShellLayout();
        l.blocks = {OtherBlock(0xA0000003, 0x60)};
        cases.push_back({"announced but no block", ShortcutFile(l)});
    }
    {
        Layout l = ShellLayout();
        l.blocks = {OtherBlock(0xA0000001, 0x20)};
        cases.push_back({"only a block of another size", ShortcutFile(l)});
    }
    {
        Layout l = ShellLayout();
        l.itemList = std::string(0xFFF0, '\x11');
        std::string b = ShortcutFile(l);
        cases.push_back({"item list longer than the file", b.substr(0, 0x4C + 2 + 0x100)});
    }
    {
        std::string b = good;
        const size_t location = 0x4C + 2 + 0x40;
        b.replace(location, 4, Le32(2));
        cases.push_back({"location block shorter than its own size field", b});
    }
    {
        std::string b = good;
        const size_t location = 0x4C + 2 + 0x40;
        b.replace(location, 4, Le32(0xFFFFFFF0));
        cases.push_back({"location block longer than the file", b});
    }
    {
        Layout l = ShellLayout();
        l.blocks = {Le32(0xFFFFFFFF) + Le32(0xA0000003), EnvironmentBlock(kAnsiTarget, kWideTarget)};
        cases.push_back({"a block longer than the file before it", ShortcutFile(l)});
    }
    {
        Layout l = ShellLayout();
        l.blocks = {Le32(6) + Le16(0), EnvironmentBlock(kAnsiTarget, kWideTarget)};
        cases.push_back({"a block too short to hold its signature before it", ShortcutFile(l)});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ShortcutEnvironmentTarget(c.bytes).has_value());
    }
}

TEST(ShortcutEnvironmentTargetTest, AFileCutShortGivesNothingUntilTheBlockIsWhole) {
    const std::string good = ShortcutFile(ShellLayout());
    const size_t blockEnd = good.size() - 4 - 0x1C;  // before the last block and the terminal block
    for (size_t length = 0; length < good.size(); ++length) {
        SCOPED_TRACE(length);
        const std::optional<EnvironmentTarget> target = ShortcutEnvironmentTarget(good.substr(0, length));
        EXPECT_EQ(target.has_value(), length >= blockEnd);
    }
}

TEST(ShortcutEnvironmentTargetTest, DamagedFilesNeverLeadPastTheirEnd) {
    // Every size and flag of a shortcut can be damaged; with a fixed sequence of damaged bytes the
    // walk must stay within the file (the native run under the sanitizers fails on any read past
    // it) and end.
    const std::string good = ShortcutFile(ShellLayout());
    uint64_t state = 0x9E3779B97F4A7C15ULL;
    auto next = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return state >> 33;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string damaged = good.substr(0, next() % (good.size() + 1));
        const int changes = 1 + static_cast<int>(next() % 4);
        for (int i = 0; i < changes && !damaged.empty(); ++i)
            damaged[next() % damaged.size()] = static_cast<char>(next());
        // Keep the data on the heap at its exact size, so a read past it is a read past the block.
        const std::vector<char> exact(damaged.begin(), damaged.end());
        const std::optional<EnvironmentTarget> target =
            ShortcutEnvironmentTarget(std::string_view(exact.data(), exact.size()));
        if (target) {
            EXPECT_LE(target->ansi.size(), 260u);
            EXPECT_LE(target->wide.size(), 260u);
        }
    }
}

}  // namespace
