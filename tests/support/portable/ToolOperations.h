#pragma once
// Every tool operation whose command lines the program builds from outside text, listed once for
// the two checks that run each of them with hostile texts: the property test of the command object
// (tests/tooldriver/CommandLinePropertyTest.cpp) and the fuzz target of the portable line builders
// (fuzz/commandline). A new command added here is checked by both. (The stand-in tool's own table
// and ToolCommandsTest's expected lines are kept apart on purpose: they are what the lines are
// checked against.) Platform-free; the list holds only names and expressions.
//
// EK_TOOL_OPERATIONS(ENTRY, OPTIONS, TARGET) expands one macro per operation, in a fixed order (the
// fuzz target's corpus picks operations by their place, so add new ones at the end of their kind):
//   ENTRY(name, slots, call, lines)   an entry command: `call` is the ToolCommands member call,
//                                     `lines` the portable builder of its lines;
//   OPTIONS(name, slots, rawA)        SendOptions, raw (`rawA`: a is the raw part) or with option
//                                     values a and b; in the name form those stand outside quotes;
//   TARGET(name, slots, call, line)   a target command on the tool's path and the selected target:
//                                     `call` is the ToolLink member call, `line` the portable builder
//                                     of its one line (`address`: the tool and the target).
// The expressions read the texts from `v` (ToolOperationValues); `scratch.rows` and `scratch.out`
// are where a call's results go (the expander provides them).

#include "common/portable/Text.h"

// Which texts of ToolOperationValues an operation takes (target commands always take the tool's
// path too).
enum ToolOperationSlot { kSlotEntry = 1, kSlotA = 2, kSlotB = 4, kSlotTarget = 8, kSlotTool = 16 };

struct ToolOperationValues {
    Text entry, a, b, target;
    Text tool = "C:\\Program Files (x86)\\Entry Tool\\bin\\entryctl.exe";  // ToolPath, from the registry
};

// clang-format off
#define EK_TOOL_OPERATIONS(ENTRY, OPTIONS, TARGET)                                                           \
    ENTRY("Command02", kSlotEntry | kSlotA, Command02(v.entry, v.a), Command02Lines(v.entry, v.a))                    \
    OPTIONS("SendOptions raw", kSlotEntry | kSlotA, true)                                                             \
    OPTIONS("SendOptions options", kSlotEntry | kSlotA | kSlotB, false)                                                   \
    ENTRY("CaptureRows", kSlotEntry, CaptureRows(v.entry, scratch.rows), CaptureRowsLines(v.entry))               \
    ENTRY("PointAt", kSlotEntry, PointAt(v.entry, 10, -20), PointAtLines(v.entry, 10, -20))                       \
    ENTRY("Command07", kSlotEntry | kSlotA, Command07(v.entry, v.a), Command07Lines(v.entry, v.a))                    \
    ENTRY("Command08", kSlotEntry, Command08(v.entry, 1, 2, 3, 4, 5), Command08Lines(v.entry, 1, 2, 3, 4, 5))     \
    ENTRY("Command09", kSlotEntry, Command09(v.entry), Command09Lines(v.entry))                                   \
    ENTRY("Command10", kSlotEntry, Command10(v.entry), Command10Lines(v.entry))                                   \
    ENTRY("QueryText", kSlotEntry | kSlotA, QueryText(v.entry, v.a), QueryTextLines(v.entry, v.a))                    \
    ENTRY("Command15", kSlotEntry, Command15(v.entry), Command15Lines(v.entry))                                   \
    ENTRY("Command16", kSlotEntry | kSlotA | kSlotB, Command16(v.entry, v.a, v.b), Command16Lines(v.entry, v.a, v.b))     \
    ENTRY("Command17", kSlotEntry | kSlotA | kSlotB, Command17(v.entry, v.a, v.b), Command17Lines(v.entry, v.a, v.b))     \
    ENTRY("Command18", kSlotEntry, Command18(v.entry), Command18Lines(v.entry))                                   \
    ENTRY("Command19", kSlotEntry, Command19(v.entry), Command19Lines(v.entry))                                   \
    ENTRY("Command20", kSlotEntry | kSlotA | kSlotB, Command20(v.entry, v.a, v.b), Command20Lines(v.entry, v.a, v.b))     \
    ENTRY("Command21", kSlotEntry, Command21(v.entry), Command21Lines(v.entry))                                   \
    ENTRY("Command22", kSlotEntry, Command22(v.entry), Command22Lines(v.entry))                                   \
    ENTRY("CreateEntry", kSlotEntry, CreateEntry(v.entry, 3), CreateEntryLines(v.entry, 3))                       \
    ENTRY("Command25", kSlotEntry | kSlotA, Command25(v.entry, v.a), Command25Lines(v.entry, v.a))                    \
    ENTRY("Command26", kSlotEntry, Command26(v.entry), Command26Lines(v.entry))                                   \
    ENTRY("Command27", kSlotEntry | kSlotA, Command27(v.entry, v.a), Command27Lines(v.entry, v.a))                    \
    ENTRY("Command28", kSlotEntry | kSlotA, Command28(v.entry, v.a), Command28Lines(v.entry, v.a))                    \
    ENTRY("Command29", kSlotEntry | kSlotA, Command29(v.entry, v.a), Command29Lines(v.entry, v.a))                    \
    ENTRY("Command30", kSlotEntry | kSlotA, Command30(v.entry, v.a), Command30Lines(v.entry, v.a))                    \
    ENTRY("Command31", kSlotEntry | kSlotA | kSlotB, Command31(v.entry, v.a, v.b), Command31Lines(v.entry, v.a, v.b))     \
    ENTRY("Command32", kSlotEntry | kSlotA, Command32(v.entry, v.a), Command32Lines(v.entry, v.a))                    \
    ENTRY("Command33", kSlotEntry, Command33(v.entry), Command33Lines(v.entry))                                   \
    ENTRY("Command34", kSlotEntry | kSlotA, Command34(v.entry, v.a), Command34Lines(v.entry, v.a))                    \
    ENTRY("Command35", kSlotEntry | kSlotA | kSlotB, Command35(v.entry, v.a, v.b), Command35Lines(v.entry, v.a, v.b))     \
    ENTRY("BackupEntry", kSlotEntry | kSlotA, BackupEntry(v.entry, v.a), BackupEntryLines(v.entry, v.a))              \
    ENTRY("RestoreEntry", kSlotEntry | kSlotA, RestoreEntry(v.entry, v.a), RestoreEntryLines(v.entry, v.a))           \
    ENTRY("Command38", kSlotEntry, Command38(v.entry), Command38Lines(v.entry))                                   \
    ENTRY("Command39", kSlotEntry, Command39(v.entry), Command39Lines(v.entry))                                   \
    ENTRY("Command40", kSlotEntry | kSlotA, Command40(v.entry, v.a), Command40Lines(v.entry, v.a))                    \
    ENTRY("Command41", kSlotEntry | kSlotA, Command41(v.entry, v.a), Command41Lines(v.entry, v.a))                    \
    ENTRY("Command42", kSlotEntry | kSlotA | kSlotB, Command42(v.entry, v.a, v.b), Command42Lines(v.entry, v.a, v.b))     \
    ENTRY("Command43", kSlotEntry | kSlotA, Command43(v.entry, v.a), Command43Lines(v.entry, v.a))                    \
    TARGET("target listing", 0, ListTargets(), TargetListingLine(v.tool))                                     \
    TARGET("target 27", 0, Command27(), TargetCommand27Line(v.tool))                                          \
    TARGET("target 1", kSlotTarget | kSlotA, Command01(v.a), TargetCommand01Line(address, v.a))                       \
    TARGET("target 2", kSlotTarget | kSlotA, Command02(v.a), TargetCommand02Line(address, v.a))                       \
    TARGET("target 3", kSlotTarget | kSlotA | kSlotB, Command03(v.a, v.b), TargetCommand03Line(address, v.a, v.b))        \
    TARGET("target 4", kSlotTarget | kSlotA | kSlotB, Command04(v.a, v.b), TargetCommand04Line(address, v.a, v.b))        \
    TARGET("target 5", kSlotTarget, Command05(scratch.out), TargetCommand05Line(address))                         \
    TARGET("target 6", kSlotTarget, Command06(scratch.out), TargetCommand06Line(address))                         \
    TARGET("target 7", kSlotTarget | kSlotA, Command07(v.a), TargetCommand07Line(address, v.a))                       \
    TARGET("target 8", kSlotTarget | kSlotA, Command08(v.a), TargetCommand08Line(address, v.a))                       \
    TARGET("target 9", kSlotTarget | kSlotA | kSlotB, Command09(v.a, v.b), TargetCommand09Line(address, v.a, v.b))        \
    TARGET("target 10", kSlotTarget | kSlotA, Command10(v.a), TargetCommand10Line(address, v.a))                     \
    TARGET("target 11", kSlotTarget | kSlotA, Command11(v.a), TargetCommand11Line(address, v.a))                     \
    TARGET("target 12", kSlotTarget | kSlotA, Command12(v.a), TargetCommand12Line(address, v.a))                     \
    TARGET("target 13", kSlotTarget, Command13(1, -2), TargetCommand13Line(address, 1, -2))                       \
    TARGET("target 14", kSlotTarget, Command14(1, 2, 3, 4, 5), TargetCommand14Line(address, 1, 2, 3, 4, 5))       \
    TARGET("target 15", kSlotTarget | kSlotA, Command15(v.a), TargetCommand15Line(address, v.a))                     \
    TARGET("target 16", kSlotTarget | kSlotA, Command16(v.a), TargetCommand16Line(address, v.a))                     \
    TARGET("target 17", kSlotTarget | kSlotA, Command17(v.a), TargetCommand17Line(address, v.a))                     \
    TARGET("target 18", kSlotTarget | kSlotA, Command18(v.a), TargetCommand18Line(address, v.a))                     \
    TARGET("target 19", kSlotTarget | kSlotA, Command19(v.a), TargetCommand19Line(address, v.a))                     \
    TARGET("target 20", kSlotTarget, Command20(nullptr), TargetCommand20Line(address))                            \
    TARGET("target 21", kSlotTarget, Command21(), TargetCommand21Line(address))                                   \
    TARGET("target 22", kSlotTarget | kSlotA, Command22(v.a, nullptr), TargetCommand22Line(address, v.a))             \
    TARGET("target 23", kSlotTarget | kSlotA, Command23(v.a, nullptr), TargetCommand23Line(address, v.a))             \
    TARGET("target 24", kSlotTarget | kSlotA, Command24(v.a), TargetCommand24Line(address, v.a))                     \
    TARGET("target 25", kSlotTarget, Command25(), TargetCommand25Line(address))                                   \
    TARGET("target 26", kSlotTarget, Command26(), TargetCommand26Line(address))
// clang-format on
