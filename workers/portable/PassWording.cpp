#include "workers/portable/PassWording.h"

#include "common/portable/TextOps.h"
#include "workers/portable/PassTexts.h"

Text EntryPositionText(int position, int count) {
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
        case FolderProblem::DriveMissing:
            reason = kFolderDriveMissingText;
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

Text CommandEndPhrase(const CommandEnd& end) {
    switch (end.verdict) {
        case CommandVerdict::Done:
            return Text();
        case CommandVerdict::FailedCode:
            return kToolEndCodeLeadIn + ExitCodeText(end.exitCode) + kToolEndCodeTail;
        case CommandVerdict::NotStarted:
            return kToolEndNotStarted;
        case CommandVerdict::Stopped:
            return kToolEndStopped;
        case CommandVerdict::Refused:
            return kToolEndRefused;
        case CommandVerdict::Hung: {
            Text phrase = kToolEndHungLeadIn + IntToText(end.hangSeconds) + kToolEndHungMid;
            for (size_t i = 0; i < end.processesEnded.size(); ++i)
                phrase += (i == 0 ? kToolEndProcessesLeadIn : ", ") + end.processesEnded[i];
            return phrase;
        }
    }
    return Text();
}
