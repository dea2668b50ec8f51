#pragma once
// The console tool's whole vocabulary: every fixed text that spells one of its commands, options,
// markers, separators or listing formats. The program builds its command lines from these names
// and the stand-in tool (tools/entryctl) parses them from the same names, so the two cannot drift.
//
// Notation: P = kEntryPrefixNumber / kEntryPrefixName by the designator's form (all digits or
// not); L = the command's own leading text per form; t, u = its own texts; e = entry designator;
// a, b = text arguments; x, y, n(...) = decimal numbers; S = kArgSep; M = kPathMark.
// Every argument stands inside double quotes: the piece before it opens them, the piece after it
// closes them, or the line's end does. Where a quote follows an argument, the argument's trailing
// backslashes are doubled on the line (toollink/portable/CommandLineQuoting.h), so that the tool's C runtime
// hands them over as one backslash each; the examples below show arguments without backslashes.
// The line of each command, as the tool receives it:
//
//   entry listing     kListCommand                       entryctl.exe list
//   Command02         P e t a M                          entryctl.exe --name "e" set-label --text "a"
//   PointAt           P e t n(x) S n(y) M                entryctl.exe -n "12" point -a "10 20"
//   Command07         P e t a u                          ... note --text "a" --quiet
//   Command08         P e t a1 S a2 S a3 S a4 [S a5] M   ... frame --rect "1 2 3 4 5"
//   Command09/10/15   P e t n(164 / 4 / 3) M             ... signal --code "164"
//   QueryText         P e t a M                          ... show --what "a"
//   Command16         P e t a u b M                      ... relabel --old "a" --new "b"
//   Command17         P e t1 a u b M ; P e t2 a u b M    ... stage --field "a" --with "b" ; ... apply ...
//   Command18         P e t_k, k = 1..6                  ... clear --label ; --state ; --position ;
//                                                        --content ; touch ; flush
//   Command20         P e t a Mid9 b M                   ... progress --value "a/b"
//   CaptureRows       P e t                              ... records --check
//   Command38/39      P e t                              ... open ; ... close
//   Command40/41/43   P e t a M                          ... set-state / set-position / write --text "a"
//   Command42         P e t a M ; P e t b M              ... append --text "a" ; ... append --text "b"
//   Command19         L e t                              entryctl.exe query --name "e" --is-locked
//   Command32         L e t a   (L of Command19)         entryctl.exe query --name "e" --field "a
//   Command21/22/26/33  numeric L e, name L e M          entryctl.exe lock -n "12 ; lock --name "e"
//                                                        (unlock, remove, verify)
//   Command23         fixed                              entryctl.exe refresh
//   Command25         L a t e M  (one form)              entryctl.exe clone --from "a" --to "e"
//   Command27         L e t a M                          entryctl.exe export --name "e" --file "a"
//   Command28/29      L e t a                            entryctl.exe import / merge --name "e" --source "a
//   Command30         L e t a                            entryctl.exe tag --name "e" --tag "a
//   Command31/35      L e t a u b                        entryctl.exe set / compare --name "e" --field "a" --value "b
//   Command34         L e t a M                          entryctl.exe rename --name "e" --to "a"
//   BackupEntry       L e t a M                          entryctl.exe backup --name "e" --file "a"
//   RestoreEntry      L e t a M                          entryctl.exe restore --name "e" --file "a"
//   CreateEntry       L e t mode  (one form)             entryctl.exe create --name "e" --mode "7
//   SendOptions       numeric L e A; name L' e M A       entryctl.exe options -n "12 " --color "red" --size "5
//   target listing    M ToolPath kListTail               "C:\tool\entryctl.exe" targets
//   target command k  M ToolPath kTargetOption TargetId kVerbk ...
//                                                        "C:\tool\entryctl.exe" --target "T1" attach --file "a"
//   target command 27 M ToolPath kVerb27                 "C:\tool\entryctl.exe" version
//
// The numeric form spells options short (-t "a", -f "a", ...); the tool takes both spellings.
//
// The options command in the name form: PathMark closes the entry's quote and the argument part
// starts with kArgSep, so each option value (and a raw argument part) stands outside quotes,
// where the command interpreter treats & | < > ^ ( ) as operators and a blank ends an argument.
// No choice of texts avoids this within that line shape: the program refuses such values there
// (ToolCommands::SendOptions).

#include "toollink/portable/vocabulary/EntryCommandTexts.h"
#include "toollink/portable/vocabulary/EntryListingTexts.h"
#include "toollink/portable/vocabulary/LocationTexts.h"
#include "toollink/portable/vocabulary/RowTableTexts.h"
#include "toollink/portable/vocabulary/SharedCommandTexts.h"
#include "toollink/portable/vocabulary/TargetCommandTexts.h"
#include "toollink/portable/vocabulary/ToolInstallTexts.h"
