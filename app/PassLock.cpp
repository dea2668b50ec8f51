#include "app/PassLock.h"

#include <string>

#include "app/ComparablePath.h"
#include "app/PassLockName.h"

Text PassLockNameOf(const Text& programFolder) {
    const std::wstring path = ComparablePath(programFolder);
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
