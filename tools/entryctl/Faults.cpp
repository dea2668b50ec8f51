#include "tools/entryctl/Faults.h"

#include <algorithm>
#include <cstdlib>

#include "tools/entryctl/ToolFolder.h"

namespace entryctl {

bool Faults::AppliesTo(const Text& commandName) const {
    return only.empty() || std::find(only.begin(), only.end(), commandName) != only.end();
}

Faults LoadFaults() {
    Faults f;
    Text bytes;
    if (!ReadBytes(InToolFolder(kFaultsFile), &bytes))
        return f;
    for (Text& line : SplitLines(bytes)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        size_t space = line.find(' ');
        Text word = line.substr(0, space);
        Text value = space == Text::npos ? Text() : line.substr(space + 1);
        int number = std::atoi(value.c_str());
        if (word == "backup-silent")
            f.backupSilent = true;
        else if (word == "backup-torn")
            f.backupTorn = true;
        else if (word == "fail-all")
            f.failAll = true;
        else if (word == "restore-refuse")
            f.restoreRefuse = true;
        else if (word == "create-fail")
            f.createFail = true;
        else if (word == "big-listing")
            f.bigListing = std::max(0, number);
        else if (word == "slow")
            f.slowMs = std::max(0, number);
        else if (word == "hang")
            f.hang = true;
        else if (word == "hang-after")
            f.hangAfter = true;
        else if (word == "zero-byte")
            f.zeroByte = true;
        else if (word == "stderr")
            f.toStderr = true;
        else if (word == "exit-code" && !value.empty()) {
            f.exitCodeGiven = true;
            f.exitCode = static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 0));
        } else if (word == "die-backup")
            f.dieBackup = true;
        else if (word == "die-list")
            f.dieListAfter = std::max(0, number);
        else if (word == "only" && !value.empty())
            f.only.push_back(value);
    }
    return f;
}

}  // namespace entryctl
