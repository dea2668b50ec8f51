#include "workers/portable/GenerationFileNames.h"

#include "common/portable/PathText.h"
#include "common/portable/TextOps.h"
#include "workers/portable/BackupFileName.h"
#include "workers/portable/DigestList.h"
#include "workers/portable/GenerationRecord.h"
#include "workers/portable/PassTexts.h"

GenerationFileNames::GenerationFileNames(const LeadBytes& leadBytes) : leadBytes_(leadBytes) {
    // The list's file name comes with the separator that joins it to the program's folder.
    Reserve(kManifestFileName + 1);
    Reserve(kDigestListFileName);
    Reserve(kGenerationRecordFileName);
}

void GenerationFileNames::Reserve(const Text& fileName) {
    Take(fileName);
}

bool GenerationFileNames::Take(const Text& fileName) {
    return taken_.insert(FoldFileNameCase(fileName, leadBytes_)).second;
}

Text GenerationFileNames::Claim(const Text& backupPath, const Text& entryName) {
    Text fileName = backupPath.substr(FileNameStart(backupPath, leadBytes_));
    if (fileName.find_first_not_of(". ") == Text::npos)
        fileName = SafeFileStem(entryName, leadBytes_) + kBackupFileExt;
    // A kept line's path is whatever the earlier list said; as a name here it must stay a name.
    fileName = SafeFileStem(fileName, leadBytes_);
    // The number goes before the backup extension, or before the last dot of another name ('.'
    // is never a second byte), so the name keeps its extension.
    const Text ext = kBackupFileExt;
    size_t stemEnd = fileName.size();
    if (fileName.size() > ext.size() && EqualsIgnoreCase(fileName.substr(fileName.size() - ext.size()), ext))
        stemEnd = fileName.size() - ext.size();
    else if (const size_t dot = fileName.rfind('.'); dot != Text::npos && dot > 0)
        stemEnd = dot;
    Text name = fileName;
    for (int n = 2; !Take(name); ++n)
        name = fileName.substr(0, stemEnd) + kDuplicateMark + IntToText(n) + fileName.substr(stemEnd);
    return name;
}
