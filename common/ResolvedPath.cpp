#include "common/ResolvedPath.h"

#include <windows.h>

#include <optional>

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/PathText.h"

namespace {

// `wide` in the ANSI code page; nothing when a character of it has no form there.
std::optional<Text> AnsiWithoutLoss(const std::wstring& wide) {
    if (wide.empty())
        return Text();
    BOOL lost = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, &lost);
    if (length <= 0 || lost)
        return std::nullopt;
    Text text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                        nullptr, nullptr);
    return text;
}

std::wstring FullWidePath(const std::wstring& path) {
    std::wstring full(32768, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return path;
    full.resize(length);
    return full;
}

std::wstring LongWidePath(const std::wstring& path) {
    std::wstring longPath(32768, L'\0');
    const DWORD length = GetLongPathNameW(path.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
    if (length == 0 || length >= longPath.size())
        return path;
    longPath.resize(length);
    return longPath;
}

}  // namespace

std::wstring WideFromAnsi(const Text& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::wstring ResolvedWidePath(const std::wstring& path) {
    return LongWidePath(FullWidePath(path));
}

Text CanonicalFolder(const Text& folder) {
    const std::wstring full = FullWidePath(WideFromAnsi(folder));
    std::optional<Text> resolved = AnsiWithoutLoss(LongWidePath(full));
    if (!resolved)
        resolved = AnsiWithoutLoss(full);
    return WithoutClosingSeparator(resolved && !resolved->empty() ? *resolved : folder, ActiveLeadBytes());
}
