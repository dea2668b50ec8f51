#pragma once
// How the two readers of a command line take it apart, written from their documented rules, so
// tests (and fuzz targets) can check what a built line turns into:
//  - the command interpreter, handed "<interpreter> <switches> /c <command>" (the launch prefix
//    of the command runner and the line): which command it starts, and whether anything in the
//    line would be read as an operator, a variable or a second command;
//  - the C runtime of the program it starts: the argument list (argv) of that command.
// Both work on the line as UTF-16 code units, as the platform converts the ANSI line before either
// reads it. Platform-free (no Windows header); any thread.

#include <functional>
#include <string>
#include <vector>

#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"

using WideText = std::u16string;

struct InterpreterReading {
    bool safe = false;
    Text problem;      // why not, in words (empty when safe)
    WideText command;  // the command line the interpreter starts (its leading "@" removed)
};

// Whether a variable of this name may be defined where the interpreter runs.
using MayBeDefined = std::function<bool(const WideText& name)>;
// Nothing is known of the environment: any name may be defined.
inline bool AnyNameMayBeDefined(const WideText&) {
    return true;
}

// The command interpreter's reading of `line`: the program token, its switches up to /c (or /k),
// then the rest. Without /s, quotes around the rest are kept only when the rest holds exactly
// two quotes with whitespace and none of & < > ( ) @ ^ | between them (assumed to name a program);
// otherwise a leading quote is removed together with the last quote of the line. One "@" may open
// the rest (it only silences the echo).
// Percent signs are read first, over the whole rest, inside quotes too: a percent sign, the text
// up to the next percent sign and that one are replaced by the value of the variable that text
// names, when it is defined (for "NAME:~0,3" and "NAME:a=b", NAME). The line is unsafe when any
// percent sign could start such a replacement (`mayBeDefined` answers for the name), whichever
// percent sign the reading goes on from after an undefined name; other percent signs stay.
// The rest is then unsafe when an exclamation mark stands anywhere under /v:on, a line break or
// zero anywhere, or one of & | < > ^ ( ) outside quotes.
InterpreterReading ReadAsInterpreter(const WideText& line, const MayBeDefined& mayBeDefined = AnyNameMayBeDefined);

// The C runtime's argument list of `command`. The first argument (the program) runs to the first
// blank outside quotes, quotes removed, backslashes as they are. Then arguments are separated by
// blanks (space, tab) outside quotes; a quote toggles quoting; inside quotes two quotes give one
// literal quote; 2n backslashes before a quote give n backslashes and the quote toggles, 2n+1 give
// n backslashes and a literal quote; other backslashes are literal. A line that ends inside quotes
// ends its last argument.
std::vector<WideText> SplitAsCRuntime(const WideText& command);

// A model of the platform's conversion for code pages described by a LeadBytes table: a byte
// below 0x80 and a byte that is no lead byte stand for themselves; a lead byte takes whatever byte
// follows it as its second (as a conversion may, which is the danger of a lone lead byte) and the
// pair becomes one code unit at 0x8000 or above; a lead byte at the end stands alone. Injective, so
// equal lines give equal units and an ASCII delimiter is never made from a pair.
WideText DecodeWithLeadBytes(const Text& bytes, const LeadBytes& leadBytes);

// ASCII and the code units of DecodeWithLeadBytes as printable text, for messages.
Text ShowUnits(const WideText& units);
