#include "tests/support/StrayBackupFiles.h"

#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "workers/portable/PassTexts.h"

namespace {

bool IsBackupFileName(const Text& name) {
    return FindText(name, kBackupFileExt, true) > 0 || FindText(name, kStagingFileExt, true) > 0;
}

}  // namespace

std::set<Text> DriveRootsOf(const std::vector<Text>& paths) {
    std::set<Text> roots = {"C:\\"};
    for (const Text& path : paths) {
        if (path.size() >= 3 && path[1] == ':')
            roots.insert(path.substr(0, 3));
    }
    return roots;
}

std::set<Text> BackupFilesIn(const std::set<Text>& folders) {
    std::set<Text> found;
    for (const Text& folder : folders) {
        for (const Text& name : FilesIn(folder)) {
            if (IsBackupFileName(name))
                found.insert(folder + name);
        }
    }
    return found;
}
