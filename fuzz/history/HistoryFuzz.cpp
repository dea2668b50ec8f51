// The history's texts read back, whatever a backup folder holds (a damaged file, a folder renamed
// by hand, any bytes):
//  - a generation's record and digest list are read only when the file is exactly what writing
//    what was read gives back: a damaged file is never read in part;
//  - a folder is a generation only when its name is, but for letter case, the name written for
//    what was read, and holds nothing but ASCII letters, digits, '-' and '_';
//  - the file names given inside a generation are bare names (no separator, no colon), never one of
//    the generation's own files, and no two alike as Windows compares names;
//  - /from: chooses only a generation whose name is the value or begins with it, the exact name
//    first, else the highest sequence number among those it begins.
// The input serves as each of these texts at once; its lines as paths and generation names.

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "common/portable/LeadBytes.h"
#include "common/portable/TextOps.h"
#include "fuzz/FuzzCheck.h"
#include "workers/portable/BackupFileName.h"
#include "workers/portable/DigestList.h"
#include "workers/portable/GenerationChoice.h"
#include "workers/portable/GenerationFileNames.h"
#include "workers/portable/GenerationName.h"
#include "workers/portable/GenerationRecord.h"

namespace {

std::vector<Text> Lines(const Text& text) {
    std::vector<Text> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t at = text.find('\n', start);
        lines.push_back(text.substr(start, at == Text::npos ? Text::npos : at - start));
        if (at == Text::npos)
            break;
        start = at + 1;
    }
    return lines;
}

bool BeginsIgnoringCase(const Text& name, const Text& value) {
    return name.size() >= value.size() && EqualsIgnoreCase(name.substr(0, value.size()), value);
}

void CheckFiles(const Text& content) {
    if (const std::optional<GenerationRecord> record = ReadGenerationRecord(content))
        FUZZ_CHECK(GenerationRecordText(*record) == content, "record read from " + ShowBytes(content));

    Text problem;
    if (const std::optional<std::vector<FileDigest>> digests = ReadDigestList(content, &problem)) {
        FUZZ_CHECK(!digests->empty(), "an empty list read from " + ShowBytes(content));
        FUZZ_CHECK(DigestListText(*digests) == content, "digests read from " + ShowBytes(content));
    } else {
        FUZZ_CHECK(!problem.empty(), "no reason given for " + ShowBytes(content));
    }
}

void CheckNames(const std::vector<Text>& lines) {
    const LeadBytes& cp936 = LeadBytes::CodePage936();
    std::vector<OfferedGeneration> offered;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Text& name = lines[i];
        if (const std::optional<GenerationName> read = ReadGenerationName(name)) {
            const Text written =
                GenerationFolderName(read->localStart, read->number, read->kind) + (read->pinned ? kPinSuffix : "");
            FUZZ_CHECK(EqualsIgnoreCase(written, name), ShowBytes(name) + " read, " + ShowBytes(written) + " written");
            FUZZ_CHECK(name.find_first_not_of("0123456789-_abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") ==
                           Text::npos,
                       ShowBytes(name));
            offered.push_back({name, (i * 7) % 13});
        }
    }

    GenerationFileNames names(cp936);
    std::set<Text> given = {FoldFileNameCase("EntryKeeper-backups.txt", cp936),
                            FoldFileNameCase(kDigestListFileName, cp936),
                            FoldFileNameCase(kGenerationRecordFileName, cp936)};
    for (const Text& path : lines) {
        const Text name = names.Claim(path, path);
        FUZZ_CHECK(!name.empty() && name != "." && name != "..", "name " + ShowBytes(name) + " for " + ShowBytes(path));
        for (size_t i = 0; i < name.size(); i += cp936.CharLength(name, i)) {
            const char c = name[i];
            FUZZ_CHECK(cp936.CharLength(name, i) == 2 || (c != '\\' && c != '/' && c != ':'),
                       "name " + ShowBytes(name) + " for " + ShowBytes(path));
        }
        FUZZ_CHECK(given.insert(FoldFileNameCase(name, cp936)).second,
                   "name " + ShowBytes(name) + " given twice, last for " + ShowBytes(path));
    }

    const Text& value = lines.front();
    const GenerationChoice choice = ChooseGeneration(value, offered);
    if (!choice.chosen)
        return;
    const OfferedGeneration& chosen = offered.at(*choice.chosen);
    FUZZ_CHECK(!value.empty() && BeginsIgnoringCase(chosen.name, value), ShowBytes(chosen.name));
    for (const OfferedGeneration& other : offered) {
        const bool exact = EqualsIgnoreCase(other.name, value);
        FUZZ_CHECK(!exact || EqualsIgnoreCase(chosen.name, value), "an exact name passed over for " + chosen.name);
        FUZZ_CHECK(EqualsIgnoreCase(chosen.name, value) || !BeginsIgnoringCase(other.name, value) ||
                       other.sequence <= chosen.sequence,
                   other.name + " is newer than " + chosen.name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text content(reinterpret_cast<const char*>(data), size);
    CheckFiles(content);
    CheckNames(Lines(content));
    return 0;
}
