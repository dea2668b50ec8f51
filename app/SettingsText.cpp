#include "app/SettingsText.h"

#include "common/SharedTexts.h"

Text FolderTextForSettings(const Text& folder) {
    return folder.substr(0, folder.find_first_of("\r\n"));
}

int OptionFromSettingsText(const Text& stored) {
    for (int option = 1; option <= 3; ++option) {
        if (stored == kMonthNumberTexts[option - 1])
            return option;
    }
    return 0;
}
