#include "app/PassLock.h"

#include <string>

#include "app/PassLockName.h"

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

}  // namespace

Text PassLockNameOf(const Text& programFolder) {
    std::wstring path = Wide(programFolder);
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    path = FoldedCase(ResolvedPath(path));
    // "C:\" keeps its separator; every other folder is named without a closing one.
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return PassLockName(std::u16string(path.begin(), path.end()));
}

PassLock::PassLock(const Text& programFolder) : name_(PassLockNameOf(programFolder)) {}

PassLock::~PassLock() {
    Release();
}

bool PassLock::Acquire() {
    if (mutex_)
        return true;
    // Opened only for as long as it is held, so an idle copy keeps no lock alive.
    UniqueHandle mutex(CreateMutexA(nullptr, FALSE, name_.c_str()));
    if (!mutex)
        return false;
    const DWORD waited = WaitForSingleObject(mutex.get(), 0);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return false;
    mutex_ = std::move(mutex);
    return true;
}

void PassLock::Release() {
    if (!mutex_)
        return;
    ReleaseMutex(mutex_.get());
    mutex_.reset();
}
