#include "app/program/Settings.h"

#include <array>
#include <optional>

#include "app/program/portable/SettingsText.h"
#include "app/window/ControlAccess.h"
#include "app/window/portable/ControlIds.h"
#include "common/portable/SharedTexts.h"

namespace {

constexpr std::array<int, 3> kOptionButtonIds = {kOptionButton1Id, kOptionButton2Id, kOptionButton3Id};

// The stored text of `key`, or nullopt when the file, the section or the key is missing. The
// private-profile read cannot tell a missing key from an empty value by its default alone, so
// the key's presence is read from the section's key list first.
std::optional<Text> ReadItem(const Text& file, const char* section, const char* key) {
    Text buffer(256, '\0');
    // A result of size - 1 (a value) or size - 2 (the key list) means the buffer was too small.
    auto read = [&](const char* keyOrNull) {
        for (;;) {
            DWORD length = GetPrivateProfileStringA(section, keyOrNull, "", buffer.data(),
                                                    static_cast<DWORD>(buffer.size()), file.c_str());
            if (length + 2 < buffer.size() || buffer.size() >= 1 << 20)
                return Text(buffer.data(), length);
            buffer.assign(buffer.size() * 4, '\0');
        }
    };
    // The key list: names separated by NUL bytes; the last name has no NUL in the returned length.
    const Text keys = read(nullptr);
    bool present = false;
    for (size_t start = 0; start < keys.size() && !present;) {
        size_t end = keys.find('\0', start);
        if (end == Text::npos)
            end = keys.size();
        present = lstrcmpiA(keys.substr(start, end - start).c_str(), key) == 0;
        start = end + 1;
    }
    if (!present)
        return std::nullopt;
    return read(key);
}

void SelectOnly(HWND window, int selectedId) {
    for (int id : kOptionButtonIds)
        WriteControlInt(window, id, kPropSelected, id == selectedId ? 1 : 0);
}

}  // namespace

Text SettingsFilePath(const Text& programFolder) {
    return programFolder + kSettingsFileName;
}

void LoadSettings(HWND window, const Text& programFolder) {
    const std::optional<Text> folder = ReadItem(SettingsFilePath(programFolder), kFolderItem, kFolderItem);
    WriteControlText(window, kFolderFieldId, folder ? *folder : programFolder);

    const std::optional<Text> stored = ReadItem(SettingsFilePath(programFolder), kOptionSection, kOptionKey);
    const Text option = stored ? *stored : Text(kMonthNumberTexts[kDefaultOption - 1]);
    if (const int selected = OptionFromSettingsText(option))
        SelectOnly(window, kOptionButtonIds[selected - 1]);
}

void SaveSettings(HWND window, const Text& programFolder) {
    const Text folder = FolderTextForSettings(ReadControlText(window, kFolderFieldId));
    WritePrivateProfileStringA(kFolderItem, kFolderItem, folder.c_str(), SettingsFilePath(programFolder).c_str());

    for (size_t i = 0; i < kOptionButtonIds.size(); ++i) {
        if (ReadControlInt(window, kOptionButtonIds[i], kPropSelected) == 1) {
            WritePrivateProfileStringA(kOptionSection, kOptionKey, kMonthNumberTexts[i],
                                       SettingsFilePath(programFolder).c_str());
        }
    }
}

ToolSettings LoadToolSettings(const Text& programFolder) {
    const Text file = SettingsFilePath(programFolder);
    return ToolSettingsFromTexts(ReadItem(file, kToolSection, kSuccessCodesKey),
                                 ReadItem(file, kToolSection, kHangSecondsKey));
}
