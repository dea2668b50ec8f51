#include "toollink/ToolLink.h"

#include <windows.h>

#include <utility>

#include "common/ActiveLeadBytes.h"
#include "common/PumpingWait.h"
#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "toollink/CommandLineQuoting.h"
#include "toollink/CommandLineSafety.h"
#include "toollink/InstallRegistry.h"
#include "toollink/PathQueries.h"
#include "toollink/ShortcutTarget.h"
#include "toollink/ToolLocation.h"
#include "toollink/vocabulary/TargetCommandTexts.h"
#include "toollink/vocabulary/ToolInstallTexts.h"

namespace {

const char* const kShortcutNames[] = {kShortcutName1, kShortcutName2, kShortcutName3, kShortcutName4};

// The tool's program inside `folder` (which may or may not end with a separator).
Text ProgramIn(const Text& folder) {
    if (folder.empty())
        return Text();
    bool closed = FindTextBackward(folder, kPathSep) == static_cast<int>(folder.size());
    return folder + (closed ? "" : kPathSep) + kToolExeName;
}

void EnterToolDir() {
    ::SetCurrentDirectoryA(ToolDir().c_str());  // a failure leaves the old directory current
}

// Builds the line of `pieces` and runs it in ToolDir. When the program path or an argument is
// not safe on a command line (BuildCommandLine), nothing runs and the output is empty.
Text RunLine(const CommandRunnerFn& runner,
             const std::vector<LinePiece>& pieces,
             const ChunkObserver* observer = nullptr,
             bool notifyChunks = false) {
    const std::optional<Text> line = BuildCommandLine(pieces, ActiveLeadBytes());
    if (!runner || !line)
        return Text();
    EnterToolDir();
    return runner(*line, observer, notifyChunks);
}

// The tool's program at the start of a line: the path mark opens the quote around it.
std::vector<LinePiece> ToolLead() {
    return {FixedText(kPathMark), ProgramPath(ToolPath())};
}

// A target-directed command: the tool, the target option, the selected target, then `ownParts`.
Text RunTarget(const CommandRunnerFn& runner,
               std::vector<LinePiece> ownParts,
               const ChunkObserver* observer = nullptr,
               bool notifyChunks = false) {
    std::vector<LinePiece> pieces = ToolLead();
    pieces.push_back(FixedText(kTargetOption));
    pieces.push_back(Argument(TargetId()));
    pieces.insert(pieces.end(), ownParts.begin(), ownParts.end());
    return RunLine(runner, pieces, observer, notifyChunks);
}

// kTargetVerbs[k - 1] is the verb of target command k.
const char* const kTargetVerbs[27] = {kVerb1,  kVerb2,  kVerb3,  kVerb4,  kVerb5,  kVerb6,  kVerb7,  kVerb8,  kVerb9,
                                      kVerb10, kVerb11, kVerb12, kVerb13, kVerb14, kVerb15, kVerb16, kVerb17, kVerb18,
                                      kVerb19, kVerb20, kVerb21, kVerb22, kVerb23, kVerb24, kVerb25, kVerb26, kVerb27};

LinePiece Verb(int number) {
    return FixedText(kTargetVerbs[number - 1]);
}

// The target listing: the tool and the listing's tail.
std::vector<LinePiece> ListingLine() {
    std::vector<LinePiece> pieces = ToolLead();
    pieces.push_back(FixedText(kListTail));
    return pieces;
}

}  // namespace

ToolLink::ToolLink(CommandRunnerFn runner) : runner_(std::move(runner)) {
    Locate();
    if (EntryExists(ToolPath()))
        RunLine(runner_, ListingLine());
}

ToolLink::~ToolLink() = default;
ToolLink::ToolLink(const ToolLink& other) = default;
ToolLink& ToolLink::operator=(const ToolLink& other) = default;

bool ToolLink::Locate(const Text* pathOut) {
    const Text folder = FindToolDir();
    if (!IsDirectory(folder))
        return false;
    const Text program = pathOut ? *pathOut : ProgramIn(FindToolDir());
    if (!IsSafeCommandArgument(program) || !EntryExists(program))
        return false;
    SetToolPath(program);
    ::SetCurrentDirectoryA(FindToolDir().c_str());
    return true;
}

Text ToolLink::FindToolDir() {
    bool found = false;
    const Text value = ReadLocalMachineText(kInstallKey);
    if (!value.empty()) {
        SetToolDir(value + kInstallSubdir);
        found = true;
    } else {
        for (const char* name : kShortcutNames) {
            if (PathExists(SpecialFolder(0) + name)) {
                SetToolDir(FolderOf(ShortcutTarget(SpecialFolder(0) + name)));
                found = true;
                break;
            }
        }
    }
    // The folder counts as found only with the tool's program in it (a stale ToolDir never does).
    const Text dir = ToolDir();
    return found && EntryExists(ProgramIn(dir)) ? dir : Text();
}

Text ToolLink::ListTargets(TextArray* listOut) {
    if (listOut)
        listOut->clear();
    const Text out = RunLine(runner_, ListingLine());
    if (out == kNoTargetsReply1 || out == kNoTargetsReply2)
        return Text();
    const TextArray lines = SplitText(out, kLineSep);
    if (lines.size() < 2)
        return Text();
    Text acc;
    for (size_t i = 1; i < lines.size(); ++i) {
        const Text& line = lines[i];
        if (!line.empty()) {
            acc += LeftText(line, FindText(line, kFieldSep) - 1);
            acc += kLineSep;
        }
        ProcessPendingMessages();
    }
    return TrimText(acc);
}

bool ToolLink::SelectTarget(int32_t position, const Text* id) {
    if (id) {
        if (!IsSafeCommandArgument(*id))
            return false;
        ::SetCurrentDirectoryA(FindToolDir().c_str());
        SetTargetId(*id);
        return true;
    }
    if (position < 1)
        return false;
    const TextArray entries = SplitText(ListTargets(), kLineSep);
    if (static_cast<size_t>(position) > entries.size())
        return false;
    const Text selected = TrimText(entries[position - 1]);
    // An entry that is empty after trimming is selected all the same, and reported as no target.
    // An unsafe one is refused: it could never be used on a command line.
    if (!IsSafeCommandArgument(selected))
        return false;
    SetTargetId(selected);
    return !selected.empty();
}

bool ToolLink::Command01(const Text& a) {
    return Contains(RunTarget(runner_, {Verb(1), Argument(a), FixedText(kPathMark)}), kOkMarkerA);
}

bool ToolLink::Contains(const Text& text, const Text& needle) const {
    return FindText(text, needle) != -1;
}

bool ToolLink::Command02(const Text& a) {
    return Contains(RunTarget(runner_, {Verb(2), Argument(a)}), kOkMarkerA);
}

bool ToolLink::Command03(const Text& a, const Text& b) {
    return Contains(RunTarget(runner_, {Verb(3), Argument(a), FixedText(kMid3), Argument(b)}), kOkMarkerB);
}

bool ToolLink::Command04(const Text& a, const Text& b) {
    return Contains(RunTarget(runner_, {Verb(4), Argument(a), FixedText(kMid4), Argument(b), FixedText(kPathMark)}),
                    kOkMarkerB);
}

namespace {

int32_t CollectMarkedLines(const Text& output, TextArray& listOut) {
    for (const Text& piece : SplitText(TrimText(output), kLineSep)) {
        if (FindText(piece, kLineMarker) != -1)
            listOut.push_back(ReplaceText(piece, kLineMarker, Text()));
    }
    return static_cast<int32_t>(listOut.size());
}

}  // namespace

int32_t ToolLink::Command05(TextArray& listOut) {
    listOut.clear();
    return CollectMarkedLines(RunTarget(runner_, {Verb(5)}), listOut);
}

int32_t ToolLink::Command06(TextArray& listOut) {
    listOut.clear();
    return CollectMarkedLines(RunTarget(runner_, {Verb(6)}), listOut);
}

Text ToolLink::Command07(const Text& a) {
    return ReplaceText(TrimText(RunTarget(runner_, {Verb(7), Argument(a)})), kLineMarker, Text());
}

bool ToolLink::Command08(const Text& a) {
    return Contains(RunTarget(runner_, {Verb(8), Argument(a)}), kOkMarkerA);
}

bool ToolLink::Command09(const Text& a, const Text& b) {
    return Contains(RunTarget(runner_, {Verb(9), Argument(a), FixedText(kProgressSep), Argument(b)}), kOkMarkerC);
}

void ToolLink::Command10(const Text& a) {
    RunTarget(runner_, {Verb(10), Argument(a)});
}

void ToolLink::Command11(const Text& a) {
    RunTarget(runner_, {Verb(11), Argument(a)});
}

void ToolLink::Command12(const Text& a) {
    RunTarget(runner_, {Verb(12), Argument(a)});
}

void ToolLink::Command13(int32_t x, int32_t y) {
    RunTarget(runner_, {Verb(13), FixedText(IntToText(x) + kArgSep + IntToText(y))});
}

void ToolLink::Command14(int32_t x1, int32_t y1, int32_t x2, int32_t y2, std::optional<int32_t> n) {
    Text numbers = IntToText(x1);
    for (int32_t number : {y1, x2, y2})
        numbers.append(kArgSep).append(IntToText(number));
    if (n)
        numbers.append(kArgSep).append(IntToText(*n));
    RunTarget(runner_, {Verb(14), FixedText(numbers)});
}

void ToolLink::Command15(const Text& a) {
    RunTarget(runner_, {Verb(15), Argument(a)});
}

void ToolLink::Command16(const Text& a) {
    RunTarget(runner_, {Verb(16), Argument(a)});
}

void ToolLink::Command17(const Text& a) {
    RunTarget(runner_, {Verb(17), Argument(a)});
}

void ToolLink::Command18(const Text& a) {
    RunTarget(runner_, {Verb(18), Argument(a)});
}

void ToolLink::Command19(const Text& a) {
    RunTarget(runner_, {Verb(19), Argument(a)});
}

Text ToolLink::Command20(const ChunkObserver* observer) {
    return RunTarget(runner_, {Verb(20)}, observer, true);
}

void ToolLink::Command21() {
    RunTarget(runner_, {Verb(21)});
}

Text ToolLink::Command22(const Text& a, const ChunkObserver* observer) {
    return RunTarget(runner_, {Verb(22), Argument(a)}, observer, true);
}

Text ToolLink::Command23(const Text& a, const ChunkObserver* observer) {
    return RunTarget(runner_, {Verb(23), Argument(a)}, observer, true);
}

void ToolLink::Command24(const Text& a) {
    RunTarget(runner_, {Verb(24), Argument(a)});
}

bool ToolLink::Command25() {
    return Contains(RunTarget(runner_, {Verb(25)}), kOkMarkerD);
}

void ToolLink::Command26() {
    RunTarget(runner_, {Verb(26)});
}

Text ToolLink::Command27() {
    std::vector<LinePiece> pieces = ToolLead();
    pieces.push_back(Verb(27));
    return RunLine(runner_, pieces);
}
