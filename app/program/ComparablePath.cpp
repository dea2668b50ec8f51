#include "app/program/ComparablePath.h"

#include "common/FileIdentity.h"
#include "common/ResolvedPath.h"

namespace {

// Letter case folded with the system's invariant upper-case mapping, the one that file names
// are compared with.
std::wstring FoldedCase(const std::wstring& path) {
    if (path.empty())
        return path;
    const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.c_str(),
                                     static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr, 0);
    if (length <= 0)
        return path;
    std::wstring folded(static_cast<size_t>(length), L'\0');
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.c_str(), static_cast<int>(path.size()), folded.data(),
                  length, nullptr, nullptr, 0);
    return folded;
}

bool StartsWith(const std::wstring& path, const std::wstring& part) {
    return path.size() >= part.size() && CompareStringOrdinal(path.c_str(), static_cast<int>(part.size()), part.c_str(),
                                                              static_cast<int>(part.size()), TRUE) == CSTR_EQUAL;
}

bool EndsWith(const std::wstring& path, const std::wstring& part) {
    return path.size() >= part.size() &&
           CompareStringOrdinal(path.c_str() + path.size() - part.size(), static_cast<int>(part.size()), part.c_str(),
                                static_cast<int>(part.size()), TRUE) == CSTR_EQUAL;
}

// The path without what only tells the system how to read it: a "\\?\" prefix (taken as it is),
// "\\.\" (the device namespace, where a drive's path names the same file), "\\?\UNC\" (a share,
// "\\server\share"), and a closing "::$DATA" (a file's unnamed data stream is the file itself).
std::wstring PlainPath(std::wstring path) {
    if (StartsWith(path, L"\\\\?\\UNC\\"))
        path = L"\\\\" + path.substr(8);
    else if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\"))
        path = path.substr(4);
    const std::wstring dataStream = L"::$DATA";
    if (path.size() > dataStream.size() && EndsWith(path, dataStream))
        path.resize(path.size() - dataStream.size());
    return path;
}

}  // namespace

std::wstring ComparablePath(const Text& path) {
    std::wstring wide = WideFromAnsi(path);
    for (wchar_t& c : wide) {
        if (c == L'/')
            c = L'\\';
    }
    wide = FoldedCase(ResolvedWidePath(PlainPath(wide)));
    // "C:\" keeps its separator; every other path is taken without a closing one.
    while (wide.size() > 3 && wide.back() == L'\\')
        wide.pop_back();
    return wide;
}

bool IsSamePath(const Text& a, const Text& b) {
    if (ComparablePath(a) == ComparablePath(b))
        return true;
    const std::optional<FileId> first = FileIdentityOf(a);
    return first && first == FileIdentityOf(b);
}
