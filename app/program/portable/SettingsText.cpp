#include "app/program/portable/SettingsText.h"

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"

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

ToolSettings ToolSettingsFromTexts(const std::optional<Text>& successCodes, const std::optional<Text>& hangSeconds) {
    ToolSettings settings;
    if (successCodes) {
        Text problem;
        if (const std::optional<std::vector<uint32_t>> codes = ParseSuccessCodes(*successCodes, &problem))
            settings.policy.successCodes = *codes;
        else
            settings.problems.push_back(Text("The settings file's ") + kSuccessCodesKey + " under [" + kToolSection +
                                        "] (\"" + *successCodes + "\") is not used: " + problem +
                                        ". Only exit code 0 counts as success.");
    }
    if (hangSeconds) {
        if (const std::optional<int> seconds = ParseHangSeconds(*hangSeconds))
            settings.policy.hangSeconds = *seconds;
        else
            settings.problems.push_back(Text("The settings file's ") + kHangSecondsKey + " under [" + kToolSection +
                                        "] (\"" + *hangSeconds + "\") is not a number of seconds from 0 to " +
                                        IntToText(kMaxHangSeconds) + ", so the default of " +
                                        IntToText(kDefaultHangSeconds) + " seconds applies.");
    }
    return settings;
}
