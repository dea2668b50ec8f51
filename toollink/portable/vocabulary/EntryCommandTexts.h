#pragma once
// The texts of the tool's entry commands: the commands that address one entry, by its number
// ("numeric form", the designator is all digits) or by its name ("name form").
//
// Every piece that comes before an argument opens a double quote and every piece that comes
// after one closes it, so each argument stands inside quotes on the command line (the command
// interpreter then passes & | < > ^ ( ) through untouched). A line that ends with an argument
// leaves its last quote open; the line's end closes it.
//
// The numeric form spells options short (-t), the name form long (--text); the tool accepts
// both spellings, so the same command reads differently in the two forms.

#include "common/portable/SharedTexts.h"
#include "toollink/portable/vocabulary/SharedCommandTexts.h"

// Start of every entry-first command line; the entry follows.
inline constexpr char kEntryPrefixNumber[] = "entryctl.exe -n \"";
inline constexpr char kEntryPrefixName[] = "entryctl.exe --name \"";

// Present in the tool's answer when a command on a named entry failed.
inline constexpr char kErrorMarker[] = "error:";

// --- Commands that follow kEntryPrefixNumber / kEntryPrefixName + entry -------------------

// Command02: set the entry's label.                P e t a M
inline constexpr char kCommand02TextNumber[] = "\" set-label -t \"";
inline constexpr char kCommand02TextName[] = "\" set-label --text \"";

// PointAt: point at a position of the entry.       P e t x S y M
inline constexpr char kPointAtTextNumber[] = "\" point -a \"";
inline constexpr char kPointAtTextName[] = "\" point --at \"";

// Command07: add a quiet note to the content.      P e t a u
inline constexpr char kCommand07TextNumber[] = "\" note -t \"";
inline constexpr char kCommand07TextName[] = "\" note --text \"";
inline constexpr char kCommand07Tail[] = "\" --quiet";

// Command08: set the entry's frame.                P e t a1 S a2 S a3 S a4 [S a5] M
inline constexpr char kCommand08TextNumber[] = "\" frame -r \"";
inline constexpr char kCommand08TextName[] = "\" frame --rect \"";

// Command09, Command10, Command15: send a signal code (same texts, three codes). P e t n M
inline constexpr char kCommand09TextNumber[] = "\" signal -c \"";
inline constexpr char kCommand09TextName[] = "\" signal --code \"";
inline constexpr int kCommand09Code = 164;
inline constexpr int kCommand10Code = 4;
inline constexpr int kCommand15Code = 3;

// QueryText: print one property of the entry.      P e t a M
inline constexpr char kQueryTextTextNumber[] = "\" show -w \"";
inline constexpr char kQueryTextTextName[] = "\" show --what \"";

// Command16: replace a text in the label.          P e t a u b M
inline constexpr char kCommand16TextNumber[] = "\" relabel -o \"";
inline constexpr char kCommand16TextName[] = "\" relabel --old \"";
inline constexpr char kCommand16Mid[] = "\" --new \"";

// Command17: stage, then apply, a field value.     P e t1 a u b M ; P e t2 a u b M
inline constexpr char kCommand17Text1Number[] = "\" stage -f \"";
inline constexpr char kCommand17Text1Name[] = "\" stage --field \"";
inline constexpr char kCommand17Text2Number[] = "\" apply -f \"";
inline constexpr char kCommand17Text2Name[] = "\" apply --field \"";
inline constexpr char kCommand17Mid[] = "\" --with \"";

// Command18: six housekeeping lines, in order.     P e t_k
inline constexpr const char* kCommand18TextsNumber[6] = {"\" clear -l", "\" clear -s", "\" clear -p",
                                                         "\" clear -c", "\" touch",   "\" flush"};
inline constexpr const char* kCommand18TextsName[6] = {"\" clear --label",   "\" clear --state", "\" clear --position",
                                                       "\" clear --content", "\" touch",         "\" flush"};

// Command20: record progress "a/b".                P e t a Mid9 b M
inline constexpr char kCommand20TextNumber[] = "\" progress -v \"";
inline constexpr char kCommand20TextName[] = "\" progress --value \"";

// CaptureRows (first step): ask whether records can be given.   P e t
inline constexpr char kCaptureRowsTextNumber[] = "\" records -c";
inline constexpr char kCaptureRowsTextName[] = "\" records --check";

// Command38, Command39: open and close the entry.  P e t
inline constexpr char kCommand38TextNumber[] = "\" open";
inline constexpr char kCommand38TextName[] = "\" open";
inline constexpr char kCommand39TextNumber[] = "\" close";
inline constexpr char kCommand39TextName[] = "\" close";

// Command40: set the state; Command41: set the position; Command43: replace the content;
// Command42: append two texts to the content (two lines, same t).     P e t a M
inline constexpr char kCommand40TextNumber[] = "\" set-state -t \"";
inline constexpr char kCommand40TextName[] = "\" set-state --text \"";
inline constexpr char kCommand41TextNumber[] = "\" set-position -t \"";
inline constexpr char kCommand41TextName[] = "\" set-position --text \"";
inline constexpr char kCommand42TextNumber[] = "\" append -t \"";
inline constexpr char kCommand42TextName[] = "\" append --text \"";
inline constexpr char kCommand43TextNumber[] = "\" write -t \"";
inline constexpr char kCommand43TextName[] = "\" write --text \"";

// --- Commands with their own leading text (L), which starts the tool and names the verb ----

// Command19: is the entry locked? Prints the marker when it is.  L e t
// Command32: print one field of the entry.                       L e t a
inline constexpr char kCommand19LeadNumber[] = "entryctl.exe query -n \"";
inline constexpr char kCommand19LeadName[] = "entryctl.exe query --name \"";
inline constexpr char kCommand19TextNumber[] = "\" -l";
inline constexpr char kCommand19TextName[] = "\" --is-locked";
inline constexpr const char* kCommand19Marker = kMonthNumberTexts[0];
inline constexpr auto& kCommand32LeadNumber = kCommand19LeadNumber;
inline constexpr auto& kCommand32LeadName = kCommand19LeadName;

// Command21 lock, Command22 unlock, Command26 remove, Command33 verify.
// Numeric form L e (the line's end closes the quote); name form L e M.
inline constexpr char kCommand21LeadNumber[] = "entryctl.exe lock -n \"";
inline constexpr char kCommand21LeadName[] = "entryctl.exe lock --name \"";
inline constexpr char kCommand22LeadNumber[] = "entryctl.exe unlock -n \"";
inline constexpr char kCommand22LeadName[] = "entryctl.exe unlock --name \"";
inline constexpr char kCommand26LeadNumber[] = "entryctl.exe remove -n \"";
inline constexpr char kCommand26LeadName[] = "entryctl.exe remove --name \"";
inline constexpr char kCommand33LeadNumber[] = "entryctl.exe verify -n \"";
inline constexpr char kCommand33LeadName[] = "entryctl.exe verify --name \"";

// Command23: one fixed line, no entry.
inline constexpr char kCommand23Line[] = "entryctl.exe refresh";

// Command25: make entry e as a copy of a (one form, no digit test).  L a t e M
inline constexpr char kCommand25Lead[] = "entryctl.exe clone --from \"";
inline constexpr char kCommand25Text[] = "\" --to \"";
inline constexpr char kCommand25Marker[] = "cloned entry";

// Command27: export the content to file a.         L e t a M
inline constexpr char kCommand27LeadNumber[] = "entryctl.exe export -n \"";
inline constexpr char kCommand27LeadName[] = "entryctl.exe export --name \"";
inline constexpr char kCommand27TextNumber[] = "\" -f \"";
inline constexpr char kCommand27TextName[] = "\" --file \"";

// Command28: replace the content from file a; Command29: append file a.  L e t a
inline constexpr char kCommand28LeadNumber[] = "entryctl.exe import -n \"";
inline constexpr char kCommand28LeadName[] = "entryctl.exe import --name \"";
inline constexpr char kCommand29LeadNumber[] = "entryctl.exe merge -n \"";
inline constexpr char kCommand29LeadName[] = "entryctl.exe merge --name \"";
inline constexpr char kCommand28TextNumber[] = "\" -s \"";
inline constexpr char kCommand28TextName[] = "\" --source \"";
inline constexpr auto& kCommand29TextNumber = kCommand28TextNumber;
inline constexpr auto& kCommand29TextName = kCommand28TextName;

// Command30: add a tag to the label.               L e t a
inline constexpr char kCommand30LeadNumber[] = "entryctl.exe tag -n \"";
inline constexpr char kCommand30LeadName[] = "entryctl.exe tag --name \"";
inline constexpr char kCommand30TextNumber[] = "\" -t \"";
inline constexpr char kCommand30TextName[] = "\" --tag \"";

// Command31: set field a to b; Command35: compare field a with b.   L e t a u b
inline constexpr char kCommand31LeadNumber[] = "entryctl.exe set -n \"";
inline constexpr char kCommand31LeadName[] = "entryctl.exe set --name \"";
inline constexpr char kCommand35LeadNumber[] = "entryctl.exe compare -n \"";
inline constexpr char kCommand35LeadName[] = "entryctl.exe compare --name \"";
inline constexpr char kCommand31TextNumber[] = "\" -f \"";
inline constexpr char kCommand31TextName[] = "\" --field \"";
inline constexpr char kCommand31Mid[] = "\" --value \"";
inline constexpr auto& kCommand32TextNumber = kCommand31TextNumber;
inline constexpr auto& kCommand32TextName = kCommand31TextName;
inline constexpr auto& kCommand35TextNumber = kCommand31TextNumber;
inline constexpr auto& kCommand35TextName = kCommand31TextName;
inline constexpr auto& kCommand35Mid = kCommand31Mid;

// Command34: rename the entry to a.                L e t a M
inline constexpr char kCommand34LeadNumber[] = "entryctl.exe rename -n \"";
inline constexpr char kCommand34LeadName[] = "entryctl.exe rename --name \"";
inline constexpr char kCommand34TextNumber[] = "\" -t \"";
inline constexpr char kCommand34TextName[] = "\" --to \"";

// BackupEntry: write the entry to backup file a; RestoreEntry: restore it from file a.  L e t a M
inline constexpr char kBackupEntryLeadNumber[] = "entryctl.exe backup -n \"";
inline constexpr char kBackupEntryLeadName[] = "entryctl.exe backup --name \"";
inline constexpr char kRestoreEntryLeadNumber[] = "entryctl.exe restore -n \"";
inline constexpr char kRestoreEntryLeadName[] = "entryctl.exe restore --name \"";
inline constexpr char kBackupEntryTextNumber[] = "\" -f \"";
inline constexpr char kBackupEntryTextName[] = "\" --file \"";
inline constexpr auto& kRestoreEntryTextNumber = kBackupEntryTextNumber;
inline constexpr auto& kRestoreEntryTextName = kBackupEntryTextName;
// Printed by a restore only when the entry was restored.
inline constexpr char kRestoreMarker[] = "restore complete";
