#include "tests/support/StandInBackupFile.h"

#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tools/entryctl/FieldEscape.h"

namespace {

constexpr char kBackupHeader[] = "entryctl backup 1\r\n";

}  // namespace

bool ReadStandInBackup(const Text& path, Text* name, Text* content) {
    const Text bytes = ReadWholeFile(path);
    const size_t bodyStart = bytes.find("\r\n\r\n");
    if (bytes.rfind(kBackupHeader, 0) != 0 || bodyStart == Text::npos)
        return false;
    long long size = -1;
    for (const Text& line : SplitText(bytes.substr(0, bodyStart), "\r\n")) {
        if (line.rfind("name: ", 0) == 0)
            *name = entryctl::UnescapeField(line.substr(6));
        else if (line.rfind("size: ", 0) == 0)
            size = TextToInt(line.substr(6));
    }
    *content = bytes.substr(bodyStart + 4);
    return size >= 0 && static_cast<long long>(content->size()) == size;
}

bool IsStandInBackupOf(const Text& path, const Text& name) {
    Text storedName, content;
    return ReadStandInBackup(path, &storedName, &content) && storedName == name;
}

bool FolderHoldsTornBackup(const Text& folder) {
    for (const Text& file : FilesIn(folder)) {
        Text name, content;
        const Text path = folder + "\\" + file;
        if (ReadWholeFile(path).rfind(kBackupHeader, 0) == 0 && !ReadStandInBackup(path, &name, &content))
            return true;
    }
    return false;
}
