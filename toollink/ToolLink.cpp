#include "toollink/ToolLink.h"

#include <windows.h>

#include <utility>

#include "common/PumpingWait.h"
#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "toollink/InstallRegistry.h"
#include "toollink/PathQueries.h"
#include "toollink/ShortcutTarget.h"
#include "toollink/portable/CommandLineQuoting.h"
#include "toollink/portable/CommandLineSafety.h"
#include "toollink/portable/TargetCommandLines.h"
#include "toollink/portable/ToolLocation.h"
#include "toollink/portable/vocabulary/TargetCommandTexts.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"

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
             const LinePieces& pieces,
             const ChunkObserver* observer = nullptr,
             bool notifyChunks = false) {
    const std::optional<Text> line = BuildCommandLine(pieces, ActiveLeadBytes());
    if (!runner || !line)
        return Text();
    EnterToolDir();
    return runner(*line, observer, notifyChunks);
}

// The tool and the selected target as they are now.
TargetAddress Selected() {
    return {ToolPath(), TargetId()};
}

}  // namespace

ToolLink::ToolLink(CommandRunnerFn runner) : runner_(std::move(runner)) {
    Locate();
    if (FileOrFolderExists(ToolPath()))
        RunLine(runner_, TargetListingLine(ToolPath()));
}

ToolLink::~ToolLink() = default;
ToolLink::ToolLink(const ToolLink& other) = default;
ToolLink& ToolLink::operator=(const ToolLink& other) = default;

bool ToolLink::Locate(const Text* pathOut) {
    const Text folder = FindToolDir();
    if (!IsDirectory(folder))
        return false;
    const Text program = pathOut ? *pathOut : ProgramIn(FindToolDir());
    if (!IsSafeVerbatimText(program) || !FileOrFolderExists(program))
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
    return found && FileOrFolderExists(ProgramIn(dir)) ? dir : Text();
}

Text ToolLink::ListTargets(TextArray* listOut) {
    if (listOut)
        listOut->clear();
    const Text out = RunLine(runner_, TargetListingLine(ToolPath()));
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
    return Contains(RunLine(runner_, TargetCommand01Line(Selected(), a)), kOkMarkerA);
}

bool ToolLink::Contains(const Text& text, const Text& needle) const {
    return FindText(text, needle) != -1;
}

bool ToolLink::Command02(const Text& a) {
    return Contains(RunLine(runner_, TargetCommand02Line(Selected(), a)), kOkMarkerA);
}

bool ToolLink::Command03(const Text& a, const Text& b) {
    return Contains(RunLine(runner_, TargetCommand03Line(Selected(), a, b)), kOkMarkerB);
}

bool ToolLink::Command04(const Text& a, const Text& b) {
    return Contains(RunLine(runner_, TargetCommand04Line(Selected(), a, b)), kOkMarkerB);
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
    return CollectMarkedLines(RunLine(runner_, TargetCommand05Line(Selected())), listOut);
}

int32_t ToolLink::Command06(TextArray& listOut) {
    listOut.clear();
    return CollectMarkedLines(RunLine(runner_, TargetCommand06Line(Selected())), listOut);
}

Text ToolLink::Command07(const Text& a) {
    return ReplaceText(TrimText(RunLine(runner_, TargetCommand07Line(Selected(), a))), kLineMarker, Text());
}

bool ToolLink::Command08(const Text& a) {
    return Contains(RunLine(runner_, TargetCommand08Line(Selected(), a)), kOkMarkerA);
}

bool ToolLink::Command09(const Text& a, const Text& b) {
    return Contains(RunLine(runner_, TargetCommand09Line(Selected(), a, b)), kOkMarkerC);
}

void ToolLink::Command10(const Text& a) {
    RunLine(runner_, TargetCommand10Line(Selected(), a));
}

void ToolLink::Command11(const Text& a) {
    RunLine(runner_, TargetCommand11Line(Selected(), a));
}

void ToolLink::Command12(const Text& a) {
    RunLine(runner_, TargetCommand12Line(Selected(), a));
}

void ToolLink::Command13(int32_t x, int32_t y) {
    RunLine(runner_, TargetCommand13Line(Selected(), x, y));
}

void ToolLink::Command14(int32_t x1, int32_t y1, int32_t x2, int32_t y2, std::optional<int32_t> n) {
    RunLine(runner_, TargetCommand14Line(Selected(), x1, y1, x2, y2, n));
}

void ToolLink::Command15(const Text& a) {
    RunLine(runner_, TargetCommand15Line(Selected(), a));
}

void ToolLink::Command16(const Text& a) {
    RunLine(runner_, TargetCommand16Line(Selected(), a));
}

void ToolLink::Command17(const Text& a) {
    RunLine(runner_, TargetCommand17Line(Selected(), a));
}

void ToolLink::Command18(const Text& a) {
    RunLine(runner_, TargetCommand18Line(Selected(), a));
}

void ToolLink::Command19(const Text& a) {
    RunLine(runner_, TargetCommand19Line(Selected(), a));
}

Text ToolLink::Command20(const ChunkObserver* observer) {
    return RunLine(runner_, TargetCommand20Line(Selected()), observer, true);
}

void ToolLink::Command21() {
    RunLine(runner_, TargetCommand21Line(Selected()));
}

Text ToolLink::Command22(const Text& a, const ChunkObserver* observer) {
    return RunLine(runner_, TargetCommand22Line(Selected(), a), observer, true);
}

Text ToolLink::Command23(const Text& a, const ChunkObserver* observer) {
    return RunLine(runner_, TargetCommand23Line(Selected(), a), observer, true);
}

void ToolLink::Command24(const Text& a) {
    RunLine(runner_, TargetCommand24Line(Selected(), a));
}

bool ToolLink::Command25() {
    return Contains(RunLine(runner_, TargetCommand25Line(Selected())), kOkMarkerD);
}

void ToolLink::Command26() {
    RunLine(runner_, TargetCommand26Line(Selected()));
}

Text ToolLink::Command27() {
    return RunLine(runner_, TargetCommand27Line(ToolPath()));
}
