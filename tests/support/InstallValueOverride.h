#pragma once
// The registry value through which the program finds an installed tool (HKLM, 64-bit view),
// set for a test and put back as it was when the object dies. The value is shared by every
// program of the test prefix, so tests that use this run alone (SERIAL).

#include <optional>

#include "common/portable/Text.h"

class InstallValueOverride {
public:
    // Points the value at `folder`; without one, removes the value (no tool is installed).
    explicit InstallValueOverride(const std::optional<Text>& folder);
    // Restores the value the object found, or removes it when there was none.
    ~InstallValueOverride();
    InstallValueOverride(const InstallValueOverride&) = delete;
    InstallValueOverride& operator=(const InstallValueOverride&) = delete;

    // Whether the value is as asked.
    bool IsSet() const { return set_; }
    // Points the value at `folder` now (an installation while the program runs). False on failure.
    bool Set(const Text& folder);
    // Removes the value now (the tool is uninstalled). False on failure.
    bool Remove();

private:
    std::optional<Text> previous_;
    bool set_ = false;
};
