#pragma once
// The texts of the tool's target commands: the target listing, and the commands that address
// the selected target. These lines start the tool by its full path:
//   kPathMark ToolPath kTargetOption TargetId verb [arguments]
// kPathMark opens the quote around the path and kTargetOption closes it; each verb closes the
// quote around the target id and opens the one around its first argument.

#include "common/portable/SharedTexts.h"
#include "toollink/portable/vocabulary/SharedCommandTexts.h"

// Target listing: kPathMark ToolPath kListTail. The answer is a heading line, then one line per
// target: id, kFieldSep, description; every line closed by kLineSep. When there is no target the
// whole answer is one of the two replies (no targets file / an empty one).
inline constexpr char kListTail[] = "\" targets";
inline constexpr char kFieldSep[] = "\t";
inline constexpr char kTargetsHeading[] = "Target\tDescription";
inline constexpr char kNoTargetsReply1[] = "No targets are configured.\r\n";
inline constexpr char kNoTargetsReply2[] = "No targets are available.\r\n";

// Between the tool's path and the target id.
inline constexpr char kTargetOption[] = "\" --target \"";

// Success fragments of the verdict commands.
inline constexpr char kOkMarkerA[] = "accepted";
inline constexpr char kOkMarkerB[] = "transferred";
inline constexpr char kOkMarkerC[] = "resized";
inline constexpr char kOkMarkerD[] = "pong";
// Starts every line that carries a wanted value in the answers of the reading commands.
inline constexpr char kLineMarker[] = "item: ";

// Between the two arguments of commands 3 and 4.
inline constexpr char kMid3[] = "\" --to \"";
inline constexpr char kMid4[] = "\" --into \"";

// One verb per command; the shape after TargetId is given beside it (a, b texts; x, y numbers;
// M = kPathMark; S = kArgSep). Result kinds: verdict (marker), lines, value, output, none.
inline constexpr char kVerb1[] = "\" attach --file \"";   // a M       verdict A
inline constexpr char kVerb2[] = "\" detach --file \"";   // a         verdict A
inline constexpr char kVerb3[] = "\" send --from \"";     // a Mid3 b  verdict B
inline constexpr char kVerb4[] = "\" link --from \"";     // a Mid4 b M verdict B
inline constexpr char kVerb5[] = "\" sessions";           //           lines
inline constexpr char kVerb6[] = "\" devices";            //           lines
inline constexpr char kVerb7[] = "\" get --key \"";       // a         value
inline constexpr char kVerb8[] = "\" check --file \"";    // a         verdict A
inline constexpr char kVerb9[] = "\" resize --size \"";   // a Mid9 b  verdict C
inline constexpr char kVerb10[] = "\" say --text \"";     // a
inline constexpr char kVerb11[] = "\" open --file \"";    // a
inline constexpr char kVerb12[] = "\" close --file \"";   // a
inline constexpr char kVerb13[] = "\" move --to \"";      // x S y
inline constexpr char kVerb14[] = "\" box --rect \"";     // x1 S y1 S x2 S y2 [S n]
inline constexpr char kVerb15[] = "\" press --key \"";    // a
inline constexpr char kVerb16[] = "\" type --text \"";    // a
inline constexpr char kVerb17[] = "\" select --item \"";  // a
inline constexpr char kVerb18[] = "\" label --text \"";   // a
inline constexpr char kVerb19[] = "\" title --text \"";   // a
inline constexpr char kVerb20[] = "\" watch";             //           output, observed
inline constexpr char kVerb21[] = "\" wake";              //
inline constexpr char kVerb22[] = "\" follow --file \"";  // a         output, observed
inline constexpr char kVerb23[] = "\" tail --file \"";    // a         output, observed
inline constexpr char kVerb24[] = "\" log --text \"";     // a
inline constexpr char kVerb25[] = "\" ping";              //           verdict D
inline constexpr char kVerb26[] = "\" sleep";             //
// Command 27 addresses no target: kPathMark ToolPath kVerb27.
inline constexpr char kVerb27[] = "\" version";           //           output
