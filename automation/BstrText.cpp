#include "automation/BstrText.h"

#include <climits>

UniqueBstr TextToBstr(const Text& text) {
    const std::wstring wide = TextToWide(text);
    return UniqueBstr(::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
}

std::wstring TextToWide(const Text& text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int srcLen = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text.data(), srcLen, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), srcLen, wide.data(), needed);
    return wide;
}

Text WideToText(const wchar_t* wide, size_t count) {
    if (!wide || count == 0 || count > INT_MAX)
        return {};
    const int srcLen = static_cast<int>(count);
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, wide, srcLen, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    Text text(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide, srcLen, text.data(), needed, nullptr, nullptr);
    return text;
}

Text BstrToText(BSTR bstr) {
    if (!bstr)
        return {};
    // A Text ends at its first NUL. Some objects count a closing NUL into the BSTR's length
    // (the shell object's environment expansion does under Wine); it is not part of the text.
    const size_t length = ::SysStringLen(bstr);
    size_t used = 0;
    while (used < length && bstr[used] != L'\0')
        ++used;
    return WideToText(bstr, used);
}
