#pragma once
// Commands for tests and the demo that put the tool's state in place. They are not part of the
// tool's vocabulary, are not journalled and ignore the fault switches. Arguments are bare words
// or double-quoted texts (no escapes; the bytes inside the quotes are taken as they are, so
// names of double-byte characters arrive unchanged):
//
//   entryctl.exe admin add "<name>" ["<content>"]     adds an entry, prints its number
//   entryctl.exe admin generate <count>               adds entries entry-00001 ... with content
//   entryctl.exe admin target "<id>" "<description>"  adds a target
//   entryctl.exe admin fault "<switch line>"          adds a line to the fault switches
//   entryctl.exe admin records "<name>" "<file>"      gives the entry the records in <file>
//                                                     (UTF-8 rows, stored and later printed as
//                                                     they are; an empty file gives no rows)
//   entryctl.exe admin clear                          removes entries, targets, journal, faults
//                                                     and records

#include <vector>

#include "common/portable/Text.h"

namespace entryctl {

// The admin command's words when `commandLine` is one (its first word after the program is
// "admin"), else false.
bool ParseAdminLine(const Text& commandLine, std::vector<Text>* words);

// Runs it; prints its answer; returns the exit code.
int RunAdmin(const std::vector<Text>& words);

}  // namespace entryctl
