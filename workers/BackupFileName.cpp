#include "workers/BackupFileName.h"

#include <cstring>

#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "workers/PassTexts.h"

namespace {

bool IsLeadByte(unsigned char c) {
    return c >= 0x80;
}

// Second bytes of code page 936 lie in 0x40-0x7E and 0x80-0xFE.
bool IsTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

bool IsForbiddenSingleByte(unsigned char c) {
    return c < 0x20 || c == 0x7F || (c != 0 && std::strchr("<>:\"/\\|?*", c) != nullptr);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsDeviceName(Text base) {
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kFixed) {
        if (EqualsIgnoreCase(base, device))
            return true;
    }
    if (base.size() == 4 && base[3] >= '0' && base[3] <= '9')
        return EqualsIgnoreCase(base.substr(0, 3), "COM") || EqualsIgnoreCase(base.substr(0, 3), "LPT");
    return false;
}

// Upper-cases single-byte ASCII letters and leaves double-byte characters whole.
Text FoldForCompare(const Text& path) {
    Text folded;
    folded.reserve(path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(c) && i + 1 < path.size()) {
            folded += path[i];
            folded += path[++i];
        } else {
            folded += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : path[i];
        }
    }
    return folded;
}

}  // namespace

Text SafeFileStem(const Text& name) {
    Text stem;
    stem.reserve(name.size() + 1);
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(c)) {
            if (i + 1 < name.size() && IsTrailByte(static_cast<unsigned char>(name[i + 1]))) {
                stem += name[i];
                stem += name[++i];
            } else {
                stem += kFileNameFiller;
            }
        } else {
            stem += IsForbiddenSingleByte(c) ? kFileNameFiller : name[i];
        }
    }
    // Neither '.' nor ' ' can be the second byte of a double-byte character, so the end is single bytes.
    for (size_t end = stem.size(); end > 0 && (stem[end - 1] == '.' || stem[end - 1] == ' '); --end)
        stem[end - 1] = kFileNameFiller;
    if (stem.empty())
        return Text(1, kFileNameFiller);
    if (IsDeviceName(stem.substr(0, stem.find('.'))))
        stem.insert(stem.begin(), kFileNameFiller);
    return stem;
}

void BackupPathPicker::Reserve(const Text& name, const Text& path) {
    holders_.try_emplace(FoldForCompare(path), Holder{name, 0});
}

Text BackupPathPicker::Pick(const Text& folder, const Text& name, int entry) {
    const Text base = folder + kPathSep + SafeFileStem(name);
    Text path = base + kBackupFileExt;
    for (int n = 2; !Claim(path, name, entry); ++n)
        path = base + kDuplicateMark + IntToText(n) + kBackupFileExt;
    return path;
}

bool BackupPathPicker::Claim(const Text& path, const Text& name, int entry) {
    auto [it, added] = holders_.try_emplace(FoldForCompare(path), Holder{name, entry});
    if (added)
        return true;
    Holder& holder = it->second;
    if (holder.name != name || (holder.entry != 0 && holder.entry != entry))
        return false;
    holder.entry = entry;
    return true;
}

Text StagingPath(const Text& backupPath, const Text& token) {
    return backupPath + "." + token + kStagingFileExt;
}

bool IsStagingFileName(const Text& fileName) {
    // <stem><backup extension>.<token><staging extension>
    const Text stagingExt = kStagingFileExt;
    const Text backupExt = kBackupFileExt;
    if (fileName.size() < backupExt.size() + 2 + stagingExt.size())
        return false;
    const size_t tokenEnd = fileName.size() - stagingExt.size();
    if (!EqualsIgnoreCase(fileName.substr(tokenEnd), stagingExt))
        return false;
    size_t tokenStart = tokenEnd;
    while (tokenStart > 0 && (IsDigit(fileName[tokenStart - 1]) || fileName[tokenStart - 1] == '-'))
        --tokenStart;
    if (tokenStart == tokenEnd || tokenStart < backupExt.size() + 1 || fileName[tokenStart - 1] != '.')
        return false;
    const size_t extStart = tokenStart - 1 - backupExt.size();
    return EqualsIgnoreCase(fileName.substr(extStart, backupExt.size()), backupExt);
}
