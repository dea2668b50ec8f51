#include "toollink/portable/TargetCommandLines.h"

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "toollink/portable/vocabulary/TargetCommandTexts.h"

namespace {

// The tool's program at the start of a line: the path mark opens the quote around it.
LinePieces ToolLead(const Text& toolPath, const char* tail) {
    return {FixedText(kPathMark), ProgramPath(toolPath), FixedText(tail)};
}

// A target-directed command: the tool, the target option, the selected target, then `ownParts`.
LinePieces Target(const TargetAddress& to, const LinePieces& ownParts) {
    LinePieces pieces = {FixedText(kPathMark), ProgramPath(to.toolPath), FixedText(kTargetOption),
                         Argument(to.targetId)};
    pieces.insert(pieces.end(), ownParts.begin(), ownParts.end());
    return pieces;
}

// The most common shape: the verb and one argument.
LinePieces VerbAndText(const TargetAddress& to, const char* verb, const Text& a) {
    return Target(to, {FixedText(verb), Argument(a)});
}

}  // namespace

LinePieces TargetListingLine(const Text& toolPath) {
    return ToolLead(toolPath, kListTail);
}

LinePieces TargetCommand01Line(const TargetAddress& to, const Text& a) {
    return Target(to, {FixedText(kVerb1), Argument(a), FixedText(kPathMark)});
}

LinePieces TargetCommand02Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb2, a);
}

LinePieces TargetCommand03Line(const TargetAddress& to, const Text& a, const Text& b) {
    return Target(to, {FixedText(kVerb3), Argument(a), FixedText(kMid3), Argument(b)});
}

LinePieces TargetCommand04Line(const TargetAddress& to, const Text& a, const Text& b) {
    return Target(to, {FixedText(kVerb4), Argument(a), FixedText(kMid4), Argument(b), FixedText(kPathMark)});
}

LinePieces TargetCommand05Line(const TargetAddress& to) {
    return Target(to, {FixedText(kVerb5)});
}

LinePieces TargetCommand06Line(const TargetAddress& to) {
    return Target(to, {FixedText(kVerb6)});
}

LinePieces TargetCommand07Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb7, a);
}

LinePieces TargetCommand08Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb8, a);
}

LinePieces TargetCommand09Line(const TargetAddress& to, const Text& a, const Text& b) {
    return Target(to, {FixedText(kVerb9), Argument(a), FixedText(kMid9), Argument(b)});
}

LinePieces TargetCommand10Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb10, a);
}

LinePieces TargetCommand11Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb11, a);
}

LinePieces TargetCommand12Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb12, a);
}

LinePieces TargetCommand13Line(const TargetAddress& to, int32_t x, int32_t y) {
    return Target(to, {FixedText(kVerb13), FixedText(IntToText(x) + kArgSep + IntToText(y))});
}

LinePieces TargetCommand14Line(const TargetAddress& to,
                               int32_t x1,
                               int32_t y1,
                               int32_t x2,
                               int32_t y2,
                               std::optional<int32_t> n) {
    Text numbers = IntToText(x1);
    for (int32_t number : {y1, x2, y2})
        numbers.append(kArgSep).append(IntToText(number));
    if (n)
        numbers.append(kArgSep).append(IntToText(*n));
    return Target(to, {FixedText(kVerb14), FixedText(numbers)});
}

LinePieces TargetCommand15Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb15, a);
}

LinePieces TargetCommand16Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb16, a);
}

LinePieces TargetCommand17Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb17, a);
}

LinePieces TargetCommand18Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb18, a);
}

LinePieces TargetCommand19Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb19, a);
}

LinePieces TargetCommand20Line(const TargetAddress& to) {
    return Target(to, {FixedText(kVerb20)});
}

LinePieces TargetCommand21Line(const TargetAddress& to) {
    return Target(to, {FixedText(kVerb21)});
}

LinePieces TargetCommand22Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb22, a);
}

LinePieces TargetCommand23Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb23, a);
}

LinePieces TargetCommand24Line(const TargetAddress& to, const Text& a) {
    return VerbAndText(to, kVerb24, a);
}

LinePieces TargetCommand25Line(const TargetAddress& to) {
    return Target(to, {FixedText(kVerb25)});
}

LinePieces TargetCommand26Line(const TargetAddress& to) {
    return Target(to, {FixedText(kVerb26)});
}

LinePieces TargetCommand27Line(const Text& toolPath) {
    return ToolLead(toolPath, kVerb27);
}
