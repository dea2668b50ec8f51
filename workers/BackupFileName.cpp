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

Text BackupPathPicker::Pick(const Text& folder, const Text& name) {
    const Text base = folder + kPathSep + SafeFileStem(name);
    Text path = base + kBackupFileExt;
    for (int n = 2; !taken_.insert(FoldForCompare(path)).second; ++n)
        path = base + kDuplicateMark + IntToText(n) + kBackupFileExt;
    return path;
}
