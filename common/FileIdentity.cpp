#include "common/FileIdentity.h"

#include <windows.h>

#include "common/ResolvedPath.h"
#include "common/WinHandles.h"

std::optional<FileId> FileIdentityOf(const Text& path) {
    UniqueFileHandle file(CreateFileW(WideFromAnsi(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!file || !GetFileInformationByHandle(file.get(), &info))
        return std::nullopt;
    return FileId{info.dwVolumeSerialNumber, (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}
