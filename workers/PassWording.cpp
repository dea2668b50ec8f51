#include "workers/PassWording.h"

#include "common/TextOps.h"
#include "workers/PassTexts.h"

Text PassProgress(int position, int count) {
    return kProgressLeadIn + IntToText(position) + kProgressMid + IntToText(count) + kProgressTail;
}

Text EntryCount(int count) {
    return IntToText(count) + (count == 1 ? kOneEntryTail : kEntriesTail);
}

Text FolderProblemPhrase(FolderProblem problem, const Text& folder) {
    const char* reason = nullptr;
    switch (problem) {
        case FolderProblem::None:
            return Text();
        case FolderProblem::Empty:
            return kNoFolderText;
        case FolderProblem::NotAbsolute:
            reason = kFolderNotAbsoluteText;
            break;
        case FolderProblem::Missing:
            reason = kFolderMissingText;
            break;
        case FolderProblem::NotAFolder:
            reason = kFolderNotAFolderText;
            break;
        case FolderProblem::Unreachable:
            reason = kFolderUnreachableText;
            break;
        case FolderProblem::NotWritable:
            reason = kFolderNotWritableText;
            break;
        case FolderProblem::TooLong:
            reason = kFolderTooLongText;
            break;
    }
    return kFolderLeadIn + folder + kFolderTail + reason;
}
