#pragma once
// Building one command line from the tool's fixed texts and the caller's arguments so that a tool
// that splits its command line the C runtime's way receives every argument exactly.
//
// The fixed texts open and close the double quotes around the arguments (toollink/vocabulary).
// The C runtime reads backslashes literally except right before a double quote: there 2n
// backslashes give n and the quote closes, 2n+1 give n and a literal quote. So an argument whose
// text ends in a run of backslashes and is followed by a closing quote gets that run doubled;
// backslashes anywhere else, and a run at the very end of the line (the line's end closes the
// quote), stay as they are. The run is counted in characters of the code page: a double-byte
// character whose second byte is 0x5C is not a backslash.
//
// The command interpreter expands %NAME% of a defined variable anywhere on the line, inside quotes
// too, before it reads quotes or operators. (A reference to a variable that holds "%" would not
// do: some interpreters, Wine's among them, read what they put in again.) So a percent sign of an argument is placed outside the quotes, between a quote that closes them
// and one that opens them again ("a"%"b" for a%b); the C runtime joins the pieces into one
// argument, and whatever stands between two percent signs on the line starts with a double quote.
// No variable's name does where the command runner runs a command
// (tooldriver/PercentSafeEnvironment.h), so nothing is expanded and the tool receives the percent
// signs themselves. A run of backslashes right before such a quote is doubled, as before any
// closing quote.
//
// Every argument is checked with IsSafeCommandArgument first, the program path with
// IsSafeVerbatimText; one unsafe text refuses the whole line. Platform-free; any thread.

#include <optional>
#include <utility>
#include <vector>

#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"

enum class LinePieceKind {
    Fixed,     // one of the tool's fixed texts (or a decimal number): placed as it is
    Argument,  // a caller's text: checked, then quoted by the C runtime's rule
    Program,   // the tool's program path at the start of the line: checked, never changed (the C
               // runtime takes the program name up to the next quote, backslashes and all)
};

struct LinePiece {
    Text text;
    LinePieceKind kind = LinePieceKind::Fixed;
};

inline LinePiece FixedText(Text text) {
    return {std::move(text), LinePieceKind::Fixed};
}
inline LinePiece Argument(Text text) {
    return {std::move(text), LinePieceKind::Argument};
}
inline LinePiece ProgramPath(Text text) {
    return {std::move(text), LinePieceKind::Program};
}

// `argument`, which stands inside quotes, with every percent sign that is a character of its own
// (under `leadBytes`) placed outside them as described above.
Text WithPercentSignsOutsideQuotes(const Text& argument, const LeadBytes& leadBytes);

// `argument` as it must stand right before a closing double quote: its trailing run of
// backslashes (whole characters of the code page of `leadBytes`) doubled.
Text BeforeClosingQuote(const Text& argument, const LeadBytes& leadBytes);

// The pieces of one command line, in order.
using LinePieces = std::vector<LinePiece>;
// The lines of one command, in running order.
using CommandLines = std::vector<LinePieces>;

// The pieces joined with nothing between them; an argument whose next non-empty piece starts
// with a double quote goes through BeforeClosingQuote, and every argument through
// WithPercentSignsOutsideQuotes. Nullopt when an argument or the program path is not safe on a command
// line (IsSafeCommandArgument, IsSafeVerbatimText under `leadBytes`).
std::optional<Text> BuildCommandLine(const LinePieces& pieces, const LeadBytes& leadBytes);

// Every line of a command built with BuildCommandLine; nullopt when any one of them is refused, so
// a command runs all of its lines or none.
std::optional<TextArray> BuildCommandLines(const CommandLines& lines, const LeadBytes& leadBytes);
