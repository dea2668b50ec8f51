#include "tests/support/UnwritableFile.h"

#include "tests/support/TestPaths.h"

UnwritableFile::UnwritableFile(const Text& path, const Text& content) : path_(path) {
    if (!FileExists(path) && !WriteWholeFile(path, content))
        return;
    if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY))
        return;
    handle_.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

UnwritableFile::~UnwritableFile() {
    handle_.reset();
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
}
