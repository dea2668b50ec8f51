#pragma once
// The one rule for text that is placed into a command line. Every argument stands inside double
// quotes there, so a text is safe when nothing in it can close the quotes, start a new command or
// cut the line short: it holds no double quote, no carriage return or line feed and no zero byte,
// and it is whole text of the code page: every lead byte is followed by a valid second byte. (A
// lead byte left alone at the end would take the closing quote as its second byte when the line
// is converted, and every later quote would then open where it should close.) Everything else
// (spaces, & | < > ^ ( ), double-byte characters, backslashes) is literal inside the quotes.
//
// A percent sign would let the command interpreter expand a variable, inside quotes too. In an
// argument it is placed where no variable's name can follow it (CommandLineQuoting.h), so an
// argument may hold percent signs, as characters of their own. Text that goes onto the line as it
// stands (the tool's program path, a part placed outside any argument) may hold none.
//
// A caller that builds a command line refuses an unsafe argument: it does not start the tool and
// gives its own failure value. Any thread.

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"

// The rule for an argument under the code page of `leadBytes`. Platform-free.
bool IsSafeCommandArgument(const Text& argument, const LeadBytes& leadBytes);

// The rule for text placed as it stands: an argument's, and no percent sign. Platform-free.
bool IsSafeVerbatimText(const Text& text, const LeadBytes& leadBytes);

// The rules under the code page the process runs under.
inline bool IsSafeCommandArgument(const Text& argument) {
    return IsSafeCommandArgument(argument, ActiveLeadBytes());
}
inline bool IsSafeVerbatimText(const Text& text) {
    return IsSafeVerbatimText(text, ActiveLeadBytes());
}
