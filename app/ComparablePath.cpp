#include "app/ComparablePath.h"

#include "common/WinHandles.h"

namespace {

std::wstring Wide(const Text& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// The path as the system would resolve it: full, long names, backslashes.
std::wstring ResolvedPath(const std::wstring& path) {
    std::wstring full(32768, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    full.resize(length > 0 && length < full.size() ? length : 0);
    if (full.empty())
        full = path;
    std::wstring longPath(32768, L'\0');
    length = GetLongPathNameW(full.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
    if (length > 0 && length < longPath.size()) {
        longPath.resize(length);
        return longPath;
    }
    return full;
}

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

// The volume and file number of an existing file or folder; false when it cannot be opened.
bool FileIdentity(const Text& path, BY_HANDLE_FILE_INFORMATION* info) {
    UniqueFileHandle file(CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file && GetFileInformationByHandle(file.get(), info) != 0;
}

}  // namespace

std::wstring ComparablePath(const Text& path) {
    std::wstring wide = Wide(path);
    for (wchar_t& c : wide) {
        if (c == L'/')
            c = L'\\';
    }
    wide = FoldedCase(ResolvedPath(PlainPath(wide)));
    // "C:\" keeps its separator; every other path is taken without a closing one.
    while (wide.size() > 3 && wide.back() == L'\\')
        wide.pop_back();
    return wide;
}

bool IsSamePath(const Text& a, const Text& b) {
    if (ComparablePath(a) == ComparablePath(b))
        return true;
    BY_HANDLE_FILE_INFORMATION first = {};
    BY_HANDLE_FILE_INFORMATION second = {};
    return FileIdentity(a, &first) && FileIdentity(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
