#include "workers/portable/BackupFileName.h"

#include <cstring>
#include <iterator>

#include "common/portable/PathText.h"
#include "common/portable/TextOps.h"
#include "workers/portable/PassTexts.h"

namespace {

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

// A range of the code page's lower-case letters and how far above their upper-case forms they stand.
struct CaseRange {
    unsigned char lead;  // 0: a single byte
    unsigned char first;
    unsigned char last;
    int offset;
};

// Code page 936's double-byte letters that have another case: full-width Latin, Greek, Cyrillic
// and the small Roman numerals (which stand below their capitals).
constexpr CaseRange kCaseRanges936[] = {
    {0xA3, 0xE1, 0xFA, 0x20},
    {0xA6, 0xC1, 0xD8, 0x20},
    {0xA7, 0xD1, 0xF1, 0x30},
    {0xA2, 0xA1, 0xAA, -0x50},
};

// Code page 1252's letters above ASCII that have another case (the division sign 0xF7 has none).
constexpr CaseRange kCaseRanges1252[] = {
    {0, 0xE0, 0xF6, 0x20}, {0, 0xF8, 0xFE, 0x20}, {0, 0x9A, 0x9A, 0x10},
    {0, 0x9C, 0x9C, 0x10}, {0, 0x9E, 0x9E, 0x10}, {0, 0xFF, 0xFF, 0x60},
};

// The upper-case form of `c` by `ranges`, or `c`.
unsigned char FoldByRanges(unsigned char lead, unsigned char c, const CaseRange* begin, const CaseRange* end) {
    for (const CaseRange* r = begin; r != end; ++r) {
        if (r->lead == lead && c >= r->first && c <= r->last)
            return static_cast<unsigned char>(c - r->offset);
    }
    return c;
}

}  // namespace

Text FoldFileNameCase(const Text& path, const LeadBytes& leadBytes) {
    // Windows compares file names with every letter in upper case. Folding more than it does would
    // only number a name that needed no number; folding less would let two entries share a file.
    // So where the letters of a code page are not known here (a double-byte one other than 936),
    // only ASCII letters are folded, and a one-byte code page is folded as 1252.
    const bool is936 = leadBytes == LeadBytes::CodePage936();
    Text folded;
    folded.reserve(path.size());
    for (size_t i = 0; i < path.size();) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (leadBytes.CharLength(path, i) == 2) {
            const unsigned char second = static_cast<unsigned char>(path[i + 1]);
            folded += path[i];
            folded += static_cast<char>(is936 ? FoldByRanges(c, second, std::begin(kCaseRanges936),
                                                              std::end(kCaseRanges936))
                                              : second);
            i += 2;
            continue;
        }
        if (c >= 'a' && c <= 'z')
            folded += static_cast<char>(c - 'a' + 'A');
        else if (!leadBytes.HasLeadBytes())
            folded += static_cast<char>(FoldByRanges(0, c, std::begin(kCaseRanges1252), std::end(kCaseRanges1252)));
        else
            folded += path[i];
        ++i;
    }
    return folded;
}

Text SafeFileStem(const Text& name, const LeadBytes& leadBytes) {
    Text stem;
    stem.reserve(name.size() + 1);
    for (size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (leadBytes.CharLength(name, i) == 2) {
            stem.append(name, i, 2);
            i += 2;
            continue;
        }
        // A lead byte without its second byte would take whatever follows it in the path.
        stem += IsForbiddenSingleByte(c) || leadBytes.IsLead(c) ? kFileNameFiller : name[i];
        ++i;
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

Text BackupPathPicker::Key(const Text& path) const {
    return FoldFileNameCase(SeparatorsAsOne(path, leadBytes_), leadBytes_);
}

void BackupPathPicker::Reserve(const Text& name, const Text& path, std::optional<FileId> file) {
    holders_.try_emplace(Key(path), Holder{name, 0});
    if (file)
        files_.try_emplace(*file, Holder{name, 0});
}

Text BackupPathPicker::Pick(const Text& folder, const Text& name, int entry) {
    const Text base = JoinPath(folder, SafeFileStem(name, leadBytes_), leadBytes_);
    Text path = base + kBackupFileExt;
    for (int n = 2; !Claim(path, name, entry); ++n)
        path = base + kDuplicateMark + IntToText(n) + kBackupFileExt;
    return path;
}

bool BackupPathPicker::Claim(const Text& path, const Text& name, int entry, std::optional<FileId> file) {
    auto [held, added] = holders_.try_emplace(Key(path), Holder{name, entry});
    if (!added && !Admits(held->second, name, entry))
        return false;
    if (file) {
        auto [owner, known] = files_.try_emplace(*file, Holder{name, entry});
        if (!known && !Admits(owner->second, name, entry)) {
            // This spelling leads to a file another entry holds.
            held->second = owner->second;
            return false;
        }
        owner->second.entry = entry;
    }
    held->second.entry = entry;
    return true;
}

Text StagingPath(const Text& backupPath, const Text& token, const LeadBytes& leadBytes) {
    const Text beside = backupPath + "." + token + kStagingFileExt;
    if (beside.size() <= kMaxPathBytes)
        return beside;
    // The token alone tells writers apart; the entry's name is not needed in the staging name.
    return backupPath.substr(0, FileNameStart(backupPath, leadBytes)) + kShortStagingStem + kBackupFileExt + "." +
           token + kStagingFileExt;
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
