#include "toollink/ThirtyTwoBitView.h"

#include <windows.h>

#include <optional>

#include "common/WinHandles.h"
#include "toollink/portable/EnvironmentReferences.h"
#include "toollink/portable/ShortcutEnvironmentTarget.h"

namespace {

std::optional<Text> EnvironmentValue(const Text& name) {
    // A value may change between the calls: retry with the size the second call reports.
    DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    for (int attempt = 0; attempt < 3 && size != 0; ++attempt) {
        Text value(size, '\0');
        const DWORD written = ::GetEnvironmentVariableA(name.c_str(), value.data(), size);
        if (written < size) {
            value.resize(written);
            return value;
        }
        size = written;
    }
    return std::nullopt;
}

// Shortcut files are a few kilobytes; anything larger is not read.
constexpr DWORD kLargestShortcutFile = 1 << 20;

// The whole file, or nullopt when it cannot be read or is larger than a shortcut file can be.
std::optional<Text> ShortcutFileBytes(const Text& path) {
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestShortcutFile)
        return std::nullopt;
    Text bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

// The UTF-16 form in this program's code page; nullopt when a character has no form there.
std::optional<Text> InCodePage(const std::u16string& wide) {
    if (wide.empty())
        return Text();
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    const int units32 = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_ACP, 0, units, units32, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    Text text(static_cast<size_t>(length), '\0');
    BOOL replaced = FALSE;
    ::WideCharToMultiByte(CP_ACP, 0, units, units32, text.data(), length, nullptr, &replaced);
    return replaced ? std::nullopt : std::optional<Text>(text);
}

}  // namespace

Text ExpandAsThirtyTwoBitProgram(const Text& text) {
    return ExpandReferences(text, [](const Text& name) {
        const Text source = ThirtyTwoBitSourceVariable(name);
        std::optional<Text> value = EnvironmentValue(source);
        return value || source == name ? value : EnvironmentValue(name);
    });
}

Text ShortcutTargetAsThirtyTwoBitProgram(const Text& lnkPath) {
    const std::optional<Text> bytes = ShortcutFileBytes(lnkPath);
    if (!bytes)
        return Text();
    const std::optional<EnvironmentTarget> recorded = ShortcutEnvironmentTarget(*bytes);
    if (!recorded)
        return Text();
    // The UTF-16 form holds every name; the other form is in the code page of the machine that
    // wrote the shortcut, which may not be this one's.
    const std::optional<Text> wide = InCodePage(recorded->wide);
    const Text& text = wide && !wide->empty() ? *wide : recorded->ansi;
    return text.empty() ? Text() : ExpandAsThirtyTwoBitProgram(text);
}
