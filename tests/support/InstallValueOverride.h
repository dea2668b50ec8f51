#pragma once
// The registry value an installation of the tool writes (HKLM, 64-bit view), pointed at a folder
// of the test's for the object's life. The value is shared by every program of the test prefix,
// so tests that use it run alone.

#include <optional>

#include "common/Text.h"

class InstallValueOverride {
public:
    // Points the value at `folder` (the installation folder; the tool lives in its bin folder).
    explicit InstallValueOverride(const Text& folder);
    // Puts back what was there, or removes the value when there was none.
    ~InstallValueOverride();
    InstallValueOverride(const InstallValueOverride&) = delete;
    InstallValueOverride& operator=(const InstallValueOverride&) = delete;

    bool IsSet() const { return set_; }

private:
    std::optional<Text> previous_;
    bool set_ = false;
};
