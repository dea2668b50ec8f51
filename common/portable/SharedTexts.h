#pragma once
// Fixed texts that more than one subsystem spells, kept in one place so they cannot drift.
// Several are the same text in two roles: the separator between the fields of the script engine's
// date text is also the separator between the numbers of a command line, and the progress
// separator of the title is also a separator inside command lines.

// Line separator of the log, the manifest and the tool's output; starts a new line in the log box.
inline constexpr char kLineSep[] = "\r\n";
// Directory separator.
inline constexpr char kPathSep[] = "\\";
// One double quote: opens the tool's path and closes a command line's last quoted argument.
inline constexpr char kPathMark[] = "\"";
// Separator of the fields of the script engine's date text ("Tue Nov 14 22:13:20 UTC 2023")...
inline constexpr char kDateFieldSep[] = " ";
// ...and therefore of the decimal numbers on one command line.
inline constexpr char kArgSep[] = " ";
// Separator of the fields of one line of the tool's listings, and of the two coordinates of a corner.
inline constexpr char kCoordSep[] = "\t";
// Between position and count in the title while a pass runs ("2/3"); also a command-line text.
// The passes' log lines word their positions themselves ("(entry 2 of 3)").
inline constexpr char kProgressSep[] = "/";

// The month numbers of the log's date text, as written: kMonthNumberTexts[m - 1] for month m.
// Other fixed texts are defined as some of these (the create modes, a success marker).
inline constexpr const char* kMonthNumberTexts[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
