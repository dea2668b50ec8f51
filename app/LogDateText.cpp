#include "app/LogDateText.h"

#include <algorithm>
#include <atomic>

#include "automation/AutomationAccess.h"
#include "automation/AutomationObject.h"
#include "automation/AutomationValue.h"
#include "common/ComOwners.h"
#include "common/TextOps.h"

namespace {

constexpr size_t kMinDateFields = 6;

std::atomic<const char*> g_scriptClassOverride{nullptr};

bool IsDecimalDigits(const Text& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number as a script literal: without leading zeros, which the engine could read as octal.
Text AsScriptNumber(const Text& digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == Text::npos ? Text("0") : digits.substr(first);
}

// The engine's default date text of the moment, or empty text.
Text ScriptDateText(const Text& millis) {
    ScopedComInit com;
    const char* classOverride = g_scriptClassOverride.load();
    AutomationObject engine;
    if (!CreateObject(engine, classOverride ? classOverride : kScriptClass))
        return {};
    SetProperty(engine, kScriptLanguageProperty, kScriptLanguage);
    CallMethod<double>(engine, kScriptAddMethod, kScriptCodePrefix + AsScriptNumber(millis) + kScriptCodeSuffix);
    VariantHolder result = CallMethod<VariantHolder>(engine, kScriptRunMethod, kScriptFunction);
    Text text = VariantToText(result);
    ClearVariant(result);
    // The object goes before COM does (declared after `com`, destroyed first).
    ReleaseObject(engine);
    return text;
}

}  // namespace

Text EpochMillisToDateText(const Text& millis) {
    if (!IsDecimalDigits(millis))
        return {};
    const Text text = ScriptDateText(millis);
    if (text.empty())
        return {};

    TextArray fields = SplitText(text, kDateFieldSep);
    if (fields.size() < kMinDateFields)
        return {};
    Text& month = fields[1];
    for (int m = 0; m < 12; ++m) {
        if (month == kMonthTokens[m]) {
            month = kMonthNumberTexts[m];
            break;
        }
    }
    return fields[5] + kDateSep + month + kDateSep + fields[2] + kDateFieldSep + fields[3];
}

void SetScriptClassForTesting(const char* classText) {
    g_scriptClassOverride.store(classText);
}
