#include "tests/support/InstallValueOverride.h"

#include <windows.h>

#include "common/WinHandles.h"

namespace {

constexpr char kInstallKeyPath[] = "SOFTWARE\\Entryctl";
constexpr char kInstallValueName[] = "InstallFolder";

std::optional<Text> ReadValue() {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.put()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), kInstallValueName, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return Text(value);
}

bool WriteValue(const Text& folder) {
    UniqueRegKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.get(), kInstallValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                          static_cast<DWORD>(folder.size() + 1)) == ERROR_SUCCESS;
}

bool RemoveValue() {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, key.put()) !=
        ERROR_SUCCESS)
        return true;  // no key, no value
    const LSTATUS status = RegDeleteValueA(key.get(), kInstallValueName);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace

InstallValueOverride::InstallValueOverride(const std::optional<Text>& folder) : previous_(ReadValue()) {
    set_ = folder ? WriteValue(*folder) : RemoveValue();
}

InstallValueOverride::~InstallValueOverride() {
    if (previous_)
        WriteValue(*previous_);
    else
        RemoveValue();
}

bool InstallValueOverride::Set(const Text& folder) {
    return set_ = WriteValue(folder);
}

bool InstallValueOverride::Remove() {
    return set_ = RemoveValue();
}
