#include "tools/entryctl/Arguments.h"

#include <windows.h>

#include <shellapi.h>  // needs windows.h first

namespace entryctl {

std::vector<std::wstring> SplitWideCommandLine(const std::wstring& line) {
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(line.c_str(), &count);
    if (!list)
        return arguments;
    for (int i = 0; i < count; ++i)
        arguments.emplace_back(list[i]);
    LocalFree(list);
    return arguments;
}

std::wstring Widen(const Text& ansi) {
    if (ansi.empty())
        return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

Text Narrow(const std::wstring& wide) {
    if (wide.empty())
        return Text();
    int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    Text ansi(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr, nullptr);
    return ansi;
}

std::vector<Text> ReceivedArguments() {
    std::vector<Text> arguments;
    for (const std::wstring& wide : SplitWideCommandLine(GetCommandLineW()))
        arguments.push_back(Narrow(wide));
    return arguments;
}

}  // namespace entryctl
