#include "toollink/InstallRegistry.h"

#include <windows.h>

#include <vector>

#include "common/WinHandles.h"
#include "toollink/ThirtyTwoBitView.h"

namespace {

// Drops the terminating zero bytes the stored data may or may not carry.
Text FromStoredBytes(const std::vector<char>& bytes, DWORD size) {
    Text value(bytes.data(), size);
    size_t end = value.find('\0');
    if (end != Text::npos)
        value.resize(end);
    return value;
}

Text Expand(const Text& value) {
    DWORD needed = ::ExpandEnvironmentStringsA(value.c_str(), nullptr, 0);
    if (needed == 0)
        return Text();
    std::vector<char> buffer(needed + 1);
    DWORD written = ::ExpandEnvironmentStringsA(value.c_str(), buffer.data(), needed + 1);
    if (written == 0 || written > needed + 1)
        return Text();
    return Text(buffer.data());
}

}  // namespace

Text ReadLocalMachineText(const Text& keyAndValue, RegistryView view) {
    size_t slash = keyAndValue.rfind('\\');
    Text keyPath = slash == Text::npos ? Text() : keyAndValue.substr(0, slash);
    Text valueName = slash == Text::npos ? keyAndValue : keyAndValue.substr(slash + 1);

    const REGSAM viewFlag = view == RegistryView::k32Bit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    UniqueRegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ | viewFlag, key.put()) != ERROR_SUCCESS)
        return Text();

    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return Text();
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return Text();
    // The value may change between the two calls: retry with the size the second call reports.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<char> bytes(size + 1, '\0');
        DWORD got = size;
        LONG status = ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(bytes.data()), &got);
        if (status == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return Text();
        Text value = FromStoredBytes(bytes, got);
        if (type == REG_SZ)
            return value;
        // A 32-bit installer wrote the references for 32-bit programs to expand.
        return view == RegistryView::k32Bit ? ExpandAsThirtyTwoBitProgram(value) : Expand(value);
    }
    return Text();
}

Text ReadLocalMachineText(const Text& keyAndValue) {
    for (RegistryView view : {RegistryView::k32Bit, RegistryView::k64Bit}) {
        Text value = ReadLocalMachineText(keyAndValue, view);
        if (!value.empty())
            return value;
    }
    return Text();
}
